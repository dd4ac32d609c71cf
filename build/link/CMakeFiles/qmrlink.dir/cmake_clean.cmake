file(REMOVE_RECURSE
  "CMakeFiles/qmrlink_autogen.dir/AutogenUsed.txt"
  "CMakeFiles/qmrlink_autogen.dir/ParseCache.txt"
  "qmrlink_autogen"
  "CMakeFiles/qmrlink.dir/Commands.cpp.o"
  "CMakeFiles/qmrlink.dir/Commands.cpp.o.d"
  "CMakeFiles/qmrlink.dir/Cp1251.cpp.o"
  "CMakeFiles/qmrlink.dir/Cp1251.cpp.o.d"
  "CMakeFiles/qmrlink.dir/Executor.cpp.o"
  "CMakeFiles/qmrlink.dir/Executor.cpp.o.d"
  "CMakeFiles/qmrlink.dir/LinkState.cpp.o"
  "CMakeFiles/qmrlink.dir/LinkState.cpp.o.d"
  "CMakeFiles/qmrlink.dir/Settings.cpp.o"
  "CMakeFiles/qmrlink.dir/Settings.cpp.o.d"
  "CMakeFiles/qmrlink.dir/TermiosLine.cpp.o"
  "CMakeFiles/qmrlink.dir/TermiosLine.cpp.o.d"
  "CMakeFiles/qmrlink.dir/Transport.cpp.o"
  "CMakeFiles/qmrlink.dir/Transport.cpp.o.d"
  "CMakeFiles/qmrlink.dir/qmrlink_autogen/mocs_compilation.cpp.o"
  "CMakeFiles/qmrlink.dir/qmrlink_autogen/mocs_compilation.cpp.o.d"
  "libqmrlink.a"
  "libqmrlink.pdb"
)

# Per-language clean rules from dependency scanning.
foreach(lang CXX)
  include(CMakeFiles/qmrlink.dir/cmake_clean_${lang}.cmake OPTIONAL)
endforeach()

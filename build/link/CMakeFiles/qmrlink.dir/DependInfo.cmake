
# Consider dependencies only in project.
set(CMAKE_DEPENDS_IN_PROJECT_ONLY OFF)

# The set of languages for which implicit dependencies are needed:
set(CMAKE_DEPENDS_LANGUAGES
  )

# The set of dependency files which are needed:
set(CMAKE_DEPENDS_DEPENDENCY_FILES
  "/work/main/link/Commands.cpp" "link/CMakeFiles/qmrlink.dir/Commands.cpp.o" "gcc" "link/CMakeFiles/qmrlink.dir/Commands.cpp.o.d"
  "/work/main/link/Cp1251.cpp" "link/CMakeFiles/qmrlink.dir/Cp1251.cpp.o" "gcc" "link/CMakeFiles/qmrlink.dir/Cp1251.cpp.o.d"
  "/work/main/link/Executor.cpp" "link/CMakeFiles/qmrlink.dir/Executor.cpp.o" "gcc" "link/CMakeFiles/qmrlink.dir/Executor.cpp.o.d"
  "/work/main/link/LinkState.cpp" "link/CMakeFiles/qmrlink.dir/LinkState.cpp.o" "gcc" "link/CMakeFiles/qmrlink.dir/LinkState.cpp.o.d"
  "/work/main/link/Settings.cpp" "link/CMakeFiles/qmrlink.dir/Settings.cpp.o" "gcc" "link/CMakeFiles/qmrlink.dir/Settings.cpp.o.d"
  "/work/main/link/TermiosLine.cpp" "link/CMakeFiles/qmrlink.dir/TermiosLine.cpp.o" "gcc" "link/CMakeFiles/qmrlink.dir/TermiosLine.cpp.o.d"
  "/work/main/link/Transport.cpp" "link/CMakeFiles/qmrlink.dir/Transport.cpp.o" "gcc" "link/CMakeFiles/qmrlink.dir/Transport.cpp.o.d"
  "/work/main/build/link/qmrlink_autogen/mocs_compilation.cpp" "link/CMakeFiles/qmrlink.dir/qmrlink_autogen/mocs_compilation.cpp.o" "gcc" "link/CMakeFiles/qmrlink.dir/qmrlink_autogen/mocs_compilation.cpp.o.d"
  )

# Targets to which this target links.
set(CMAKE_TARGET_LINKED_INFO_FILES
  )

# Fortran module output directory.
set(CMAKE_Fortran_TARGET_MODULE_DIR "")

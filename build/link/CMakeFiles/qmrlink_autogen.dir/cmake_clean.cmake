file(REMOVE_RECURSE
  "CMakeFiles/qmrlink_autogen"
  "qmrlink_autogen/mocs_compilation.cpp"
)

# Per-language clean rules from dependency scanning.
foreach(lang )
  include(CMakeFiles/qmrlink_autogen.dir/cmake_clean_${lang}.cmake OPTIONAL)
endforeach()

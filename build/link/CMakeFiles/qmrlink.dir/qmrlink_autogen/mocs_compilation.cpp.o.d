link/CMakeFiles/qmrlink.dir/qmrlink_autogen/mocs_compilation.cpp.o: \
 /work/main/build/link/qmrlink_autogen/mocs_compilation.cpp \
 /usr/include/stdc-predef.h

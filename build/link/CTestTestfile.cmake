# CMake generated Testfile for 
# Source directory: /work/main/link
# Build directory: /work/main/build/link
# 
# This file includes the relevant testing commands required for 
# testing this directory and lists subdirectories to be tested as well.

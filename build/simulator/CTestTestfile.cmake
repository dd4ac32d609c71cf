# CMake generated Testfile for 
# Source directory: /work/main/simulator
# Build directory: /work/main/build/simulator
# 
# This file includes the relevant testing commands required for 
# testing this directory and lists subdirectories to be tested as well.

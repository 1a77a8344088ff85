# CMake generated Testfile for 
# Source directory: /work/main/demo
# Build directory: /work/main/build/x86_64/demo
# 
# This file includes the relevant testing commands required for 
# testing this directory and lists subdirectories to be tested as well.

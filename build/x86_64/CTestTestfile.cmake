# CMake generated Testfile for 
# Source directory: /work/main
# Build directory: /work/main/build/x86_64
# 
# This file includes the relevant testing commands required for 
# testing this directory and lists subdirectories to be tested as well.
subdirs("common")
subdirs("runtime")
subdirs("window_support")
subdirs("combo_box")
subdirs("colour_picking")
subdirs("property_list")
subdirs("server")
subdirs("tests")
subdirs("demo")
subdirs("bench")

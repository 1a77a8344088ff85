# Empty dependencies file for zo_host_selftest_tests.
# This may be replaced when dependencies are built.

# Empty dependencies file for zo_test_host.
# This may be replaced when dependencies are built.

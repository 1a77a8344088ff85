# Empty dependencies file for zo_common_tests.
# This may be replaced when dependencies are built.

# Empty compiler generated dependencies file for zo_server_tests.
# This may be replaced when dependencies are built.

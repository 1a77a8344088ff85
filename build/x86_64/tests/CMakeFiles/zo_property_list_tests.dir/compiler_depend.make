# Empty compiler generated dependencies file for zo_property_list_tests.
# This may be replaced when dependencies are built.

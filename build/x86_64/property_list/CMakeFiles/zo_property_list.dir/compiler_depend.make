# Empty compiler generated dependencies file for zo_property_list.
# This may be replaced when dependencies are built.

# Empty compiler generated dependencies file for zo_common.
# This may be replaced when dependencies are built.

# Empty dependencies file for zo_guids.
# This may be replaced when dependencies are built.

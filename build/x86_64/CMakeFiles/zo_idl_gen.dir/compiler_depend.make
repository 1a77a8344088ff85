# Empty custom commands generated dependencies file for zo_idl_gen.
# This may be replaced when dependencies are built.

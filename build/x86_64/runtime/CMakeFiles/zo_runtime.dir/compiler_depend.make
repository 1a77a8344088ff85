# Empty compiler generated dependencies file for zo_runtime.
# This may be replaced when dependencies are built.

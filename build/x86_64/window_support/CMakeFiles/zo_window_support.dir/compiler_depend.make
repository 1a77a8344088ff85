# Empty compiler generated dependencies file for zo_window_support.
# This may be replaced when dependencies are built.

# Empty compiler generated dependencies file for zo_combo_box.
# This may be replaced when dependencies are built.

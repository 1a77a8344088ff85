# Empty dependencies file for zo_colour_picking.
# This may be replaced when dependencies are built.

file(REMOVE_RECURSE
  "../lib/libzo_colour_picking.a"
)

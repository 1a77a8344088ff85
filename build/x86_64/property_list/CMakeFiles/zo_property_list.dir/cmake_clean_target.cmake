file(REMOVE_RECURSE
  "../lib/libzo_property_list.a"
)

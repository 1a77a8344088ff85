file(REMOVE_RECURSE
  "../lib/libzo_window_support.a"
)

file(REMOVE_RECURSE
  "../lib/libzo_runtime.a"
)

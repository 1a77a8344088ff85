file(REMOVE_RECURSE
  "../lib/libzo_common.a"
)

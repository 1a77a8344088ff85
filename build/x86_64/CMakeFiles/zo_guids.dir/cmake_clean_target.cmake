file(REMOVE_RECURSE
  "lib/libzo_guids.a"
)

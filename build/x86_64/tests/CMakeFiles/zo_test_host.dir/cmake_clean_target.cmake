file(REMOVE_RECURSE
  "../lib/libzo_test_host.a"
)

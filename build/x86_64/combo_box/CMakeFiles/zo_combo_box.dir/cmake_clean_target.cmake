file(REMOVE_RECURSE
  "../lib/libzo_combo_box.a"
)

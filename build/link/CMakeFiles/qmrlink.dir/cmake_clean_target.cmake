file(REMOVE_RECURSE
  "libqmrlink.a"
)

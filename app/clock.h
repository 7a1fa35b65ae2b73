// The tick clock; written as the playable game is built.

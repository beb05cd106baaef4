// Placeholder until the record layer lands.

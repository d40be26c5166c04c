// Removed once the composer sources exist.

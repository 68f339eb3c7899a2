// Replaced as this subsystem's code lands.

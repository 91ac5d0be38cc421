// placeholder, filled with the dialect rules

// QPainter implementation of the graph canvas (filled in with the graph code).

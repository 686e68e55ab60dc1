# Subsystem 9, rich document editing (what the painting of documents needs of it so far).
list(APPEND VIZIVODU_SOURCES
    editing/VDWordPainter.cpp)

# Subsystem 7, rich document layout, display and printing.
list(APPEND VIZIVODU_SOURCES
    layout/VDGrIn.cpp
    layout/VDThumbMaker.cpp)

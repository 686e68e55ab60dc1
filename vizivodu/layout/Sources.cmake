# Layout, display and printing (vizivodu/layout).
list(APPEND VIZIVODU_SOURCES
    layout/VDThumbMaker.cpp)

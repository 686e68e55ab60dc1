# Tests of layout, display and printing.
list(APPEND VIZIVODU_TEST_SOURCES
    layout/VDThumbMaker_test.cpp)

# Tests of layout, display and printing.
list(APPEND VIZIVODU_TEST_SOURCES
    layout/VDFontCache_test.cpp
    layout/VDGrIn_test.cpp
    layout/VDShaping_test.cpp
    layout/VDThumbMaker_test.cpp
    layout/VDUniscribeGrIn_test.cpp
    layout/VDWinGrIn_test.cpp)

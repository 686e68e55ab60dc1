# Tests of layout, display and printing.
list(APPEND VIZIVODU_TEST_SOURCES
    layout/CVDFData_Wrap_test.cpp
    layout/DLines_test.cpp
    layout/VDThumbMaker_test.cpp)

# Tests of layout, display and printing.
list(APPEND VIZIVODU_TEST_SOURCES
    layout/CVDFData_Finish_test.cpp
    layout/CVDFData_Hit_test.cpp
    layout/CVDFData_Paint_test.cpp
    layout/CVDFData_test.cpp
    layout/CVDFData_Wrap_test.cpp
    layout/DLines_test.cpp
    layout/VDScroll_test.cpp
    layout/VDThumbMaker_test.cpp
    layout/ViziVodu_test.cpp)

# Tests of layout, display and printing.
list(APPEND VIZIVODU_TEST_SOURCES
    layout/CVDFData_Finish_test.cpp
    layout/CVDFData_Hit_test.cpp
    layout/CVDFData_Paint_test.cpp
    layout/CVDFData_RealText_test.cpp
    layout/CVDFData_Services_test.cpp
    layout/CVDFData_test.cpp
    layout/CVDFData_Wrap_test.cpp
    layout/DLines_test.cpp
    layout/VDBack_test.cpp
    layout/VDCtrlData_test.cpp
    layout/VDFontCache_test.cpp
    layout/VDGrIn_test.cpp
    layout/VDScroll_test.cpp
    layout/VDShaping_test.cpp
    layout/VDThumbMaker_test.cpp
    layout/VDUniscribeGrIn_test.cpp
    layout/VDVDData_test.cpp
    layout/VDWinGrIn_test.cpp
    layout/ViziVodu_test.cpp)

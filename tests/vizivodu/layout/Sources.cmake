# Tests of layout, display and printing, in the folders of the sources.
# The text engine.
list(APPEND VIZIVODU_TEST_SOURCES
    layout/text/VDFontCache_test.cpp
    layout/text/VDGrIn_test.cpp
    layout/text/VDShaping_test.cpp
    layout/text/VDUniscribeGrIn_test.cpp
    layout/text/VDWinGrIn_test.cpp)
# The formatting engine.
list(APPEND VIZIVODU_TEST_SOURCES
    layout/formatting/CVDFData_Finish_test.cpp
    layout/formatting/CVDFData_Hit_test.cpp
    layout/formatting/CVDFData_Paint_test.cpp
    layout/formatting/CVDFData_PaintPrint_test.cpp
    layout/formatting/CVDFData_Search_test.cpp
    layout/formatting/CVDFData_RealText_test.cpp
    layout/formatting/CVDFData_Selection_test.cpp
    layout/formatting/CVDFData_Services_test.cpp
    layout/formatting/CVDFData_Wrap_test.cpp
    layout/formatting/CVDFData_test.cpp
    layout/formatting/DLines_test.cpp
    layout/formatting/VDBack_test.cpp)
# The viewer control.
list(APPEND VIZIVODU_TEST_SOURCES
    layout/viewer/VDAnimate_test.cpp
    layout/viewer/VDCtrlData_test.cpp
    layout/viewer/VDLinear_test.cpp
    layout/viewer/VDScroll_test.cpp
    layout/viewer/VDThumbMaker_test.cpp
    layout/viewer/VDVDData_test.cpp
    layout/viewer/ViziVodu_Api_test.cpp
    layout/viewer/ViziVodu_ApiItems_test.cpp
    layout/viewer/ViziVodu_test.cpp
    layout/viewer/ViziVodu_Files_test.cpp
    layout/viewer/ViziVodu_Input_test.cpp)
# Printing: pagination, page drawing, print jobs, the print preview.
list(APPEND VIZIVODU_TEST_SOURCES
    layout/printing/PtVDData_Draw_test.cpp
    layout/printing/PtVDData_Notes_test.cpp
    layout/printing/PtVDData_Sidenotes_test.cpp
    layout/printing/PtVDData_test.cpp
    layout/printing/PtblVD_test.cpp
    layout/printing/VDPP_test.cpp)

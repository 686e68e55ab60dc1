# Printing: pagination, page drawing, print jobs, the print preview.
list(APPEND VIZIVODU_TEST_SOURCES
    print/PtVDData_Draw_test.cpp
    print/PtVDData_Notes_test.cpp
    print/PtVDData_Sidenotes_test.cpp
    print/PtVDData_test.cpp
    print/PtblVD_test.cpp
    print/VDPP_test.cpp)

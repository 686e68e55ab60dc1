# Tests of the native document format.
list(APPEND VIZIVODU_TEST_SOURCES
    formats/vdf/CVDData_VDFProperty_test.cpp
    formats/vdf/CVDData_VDFStyles_test.cpp
    formats/vdf/CVDData_VDF_test.cpp
    formats/vdf/VDFHelpers_Blocks_test.cpp
    formats/vdf/VDTable_VDF_test.cpp)

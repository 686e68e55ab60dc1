# Tests of RTF: the reader, its document builder, the styles' control words.
list(APPEND VIZIVODU_TEST_SOURCES
    formats/rtf/CVDData_RTFOutside_test.cpp
    formats/rtf/CVDData_RTFWrite_test.cpp
    formats/rtf/VDRTFProps_test.cpp
    formats/rtf/VDRTFReader_test.cpp
    formats/rtf/VDStyle_RTF_test.cpp
    formats/rtf/ViziVodu_RTF_test.cpp)
list(APPEND VIZIVODU_TEST_SOURCES
    formats/rtf/VDRTFProps_Tables_test.cpp)
list(APPEND VIZIVODU_TEST_SOURCES
    formats/rtf/VDRTFProps_Fields_test.cpp
    formats/rtf/VDRTFProps_Lists_test.cpp
    formats/rtf/VDRTFProps_Notes_test.cpp
    formats/rtf/VDRTFProps_Pictures_test.cpp
    formats/rtf/VDRTFReader_Lists_test.cpp)

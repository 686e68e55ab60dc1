# RTF reader and its document builder.
list(APPEND VIZIVODU_TEST_SOURCES
    formats/rtf/VDRTFProps_test.cpp
    formats/rtf/VDRTFReader_test.cpp
    formats/rtf/ViziVodu_RTF_test.cpp
)

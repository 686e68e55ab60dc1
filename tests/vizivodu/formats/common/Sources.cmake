# Tests of the text routines the format writers share.
list(APPEND VIZIVODU_TEST_SOURCES
    formats/common/VDFuncs_HTML_test.cpp
    formats/common/VDFuncs_OOXML_test.cpp
    formats/common/VDFuncs_RTF_test.cpp
    formats/common/VDFuncs_Symbol_test.cpp)

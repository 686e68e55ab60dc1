# Tests of the DOCX halves: the styles' WordprocessingML.
list(APPEND VIZIVODU_TEST_SOURCES
    formats/ooxml/VDStyle_OOXML_test.cpp)

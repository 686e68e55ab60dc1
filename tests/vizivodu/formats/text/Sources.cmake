# Tests of plain-text files.
list(APPEND VIZIVODU_TEST_SOURCES
    formats/text/CVDData_TextFile_test.cpp)

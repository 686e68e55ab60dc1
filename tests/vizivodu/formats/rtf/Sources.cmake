# Tests of the RTF halves: the styles' control words.
list(APPEND VIZIVODU_TEST_SOURCES
    formats/rtf/VDStyle_RTF_test.cpp)

# Tests of the document model.
list(APPEND VIZIVODU_TEST_SOURCES
    document/VDUnicode_test.cpp)

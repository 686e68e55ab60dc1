# Tests of the ZIP packer.
list(APPEND VIZIVODU_TEST_SOURCES
    formats/zip/VDZipPacker_test.cpp)

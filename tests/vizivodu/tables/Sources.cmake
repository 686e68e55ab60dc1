# Tests of subsystem 8, rich document tables.
list(APPEND VIZIVODU_TEST_SOURCES
    tables/VDTable_test.cpp)

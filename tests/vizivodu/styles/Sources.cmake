# Tests of subsystem 5, rich text styles.
list(APPEND VIZIVODU_TEST_SOURCES
    styles/VDFuncs_test.cpp)

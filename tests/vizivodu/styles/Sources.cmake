# Tests of subsystem 5, rich text styles.
list(APPEND VIZIVODU_TEST_SOURCES
    styles/VDFuncs_test.cpp
    styles/VDStyle_Text_test.cpp
    styles/VDStyle_Units_test.cpp
    styles/VDStyle_test.cpp)

# Tests of subsystem 6, rich document model.
list(APPEND VIZIVODU_TEST_SOURCES
    document/VDClasses_test.cpp)

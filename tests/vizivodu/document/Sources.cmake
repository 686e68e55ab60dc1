# Tests of the document model. The graphic handler's fuzz target runs its seeds here too.
list(APPEND VIZIVODU_TEST_SOURCES
    document/VDGrHandler_test.cpp
    document/VDUnicode_test.cpp
    ${CMAKE_SOURCE_DIR}/fuzz/graphic_handler_fuzz.cpp)

# Tests of subsystem 6, rich document model. The graphic handler's fuzz target runs its seeds
# here too.
list(APPEND VIZIVODU_TEST_SOURCES
    document/VDClasses_test.cpp
    document/VDGrHandler_test.cpp
    document/VDUnicode_test.cpp
    ${CMAKE_SOURCE_DIR}/fuzz/graphic_handler_fuzz.cpp)
list(APPEND VIZIVODU_TEST_SOURCES
    document/CVDData_Helpers_test.cpp
    document/CVDData_test.cpp
    document/VDDocParams_test.cpp
    document/VDItem_test.cpp)

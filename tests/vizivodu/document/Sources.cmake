# Tests of subsystem 6, rich document model. (The graphic handler's fuzz seeds replay as the
# test graphic_handler_fuzz_seeds in every build.)
list(APPEND VIZIVODU_TEST_SOURCES
    document/VDClasses_test.cpp
    document/VDClipboardFormats_test.cpp
    document/VDGrHandler_test.cpp
    document/VDUnicode_test.cpp)
list(APPEND VIZIVODU_TEST_SOURCES
    document/CVDData_Helpers_test.cpp
    document/CVDData_Text_test.cpp
    document/CVDData_Tree_test.cpp
    document/CVDData_test.cpp
    document/VDDocParams_test.cpp
    document/VDItem_Bullet_test.cpp
    document/VDItem_Control_test.cpp
    document/VDItem_Print_test.cpp
    document/VDItem_test.cpp
    document/VDNotes_Layout_test.cpp
    document/VDNotes_test.cpp
    document/VDSeqItem_test.cpp)

# Tests of subsystem 8, rich document tables.
list(APPEND VIZIVODU_TEST_SOURCES
    tables/VDTable_Background_test.cpp
    tables/VDTable_Golden_test.cpp
    tables/VDTable_Layout_test.cpp
    tables/VDTable_Merge_test.cpp
    tables/VDTable_Paint_test.cpp
    tables/VDTable_PrintNotes_test.cpp
    tables/VDTable_Print_test.cpp
    tables/VDTable_Restructure_test.cpp
    tables/VDTable_test.cpp)

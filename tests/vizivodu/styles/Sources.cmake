# Tests of subsystem 5, rich text styles.
list(APPEND VIZIVODU_TEST_SOURCES
    styles/VDCollection_test.cpp
    styles/VDFuncs_Draw_test.cpp
    styles/VDFuncs_test.cpp
    styles/VDStyle_Borders_test.cpp
    styles/VDStyle_Canvas_test.cpp
    styles/RandomStyleSheet.cpp
    styles/VDStyle_Draw_test.cpp
    styles/VDStyle_Ini_test.cpp
    styles/VDStyle_Lists_test.cpp
    styles/VDStyle_Para_test.cpp
    styles/VDStyle_Records_test.cpp
    styles/VDStyle_Streaming_test.cpp
    styles/VDStyle_TemplateFiles_test.cpp
    styles/VDStyle_Templates_test.cpp
    styles/VDStyle_Text_test.cpp
    styles/VDStyle_Units_test.cpp
    styles/VDStyle_test.cpp)

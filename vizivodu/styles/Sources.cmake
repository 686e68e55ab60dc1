# Subsystem 5, rich text styles.
list(APPEND VIZIVODU_SOURCES
    styles/VDCollection.cpp
    styles/VDFuncs.cpp
    styles/VDFuncs_Draw.cpp
    styles/VDStyle.cpp
    styles/VDStyle_Borders.cpp
    styles/VDStyle_Canvas.cpp
    styles/VDStyle_Draw.cpp
    styles/VDStyle_Ini.cpp
    styles/VDStyle_IniLists.cpp
    styles/VDStyle_IniPara.cpp
    styles/VDStyle_IniSheet.cpp
    styles/VDStyle_IniText.cpp
    styles/VDStyle_Lists.cpp
    styles/VDStyle_Para.cpp
    styles/VDStyle_Records.cpp
    styles/VDStyle_Streaming.cpp
    styles/VDStyle_StreamingPictures.cpp
    styles/VDStyle_StreamingSheet.cpp
    styles/VDStyle_TemplateFiles.cpp
    styles/VDStyle_Templates.cpp
    styles/VDStyle_Text.cpp
    styles/VDStyle_Units.cpp)

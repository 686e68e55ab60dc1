# Subsystem 6, rich document model.
list(APPEND VIZIVODU_SOURCES
    document/VDClasses.cpp
    document/VDGrHandler.cpp
    document/VDGrHandler_Classes.cpp
    document/VDGrHandler_Convert.cpp
    document/VDUnicode.cpp
    document/VDUnicode_Html.cpp
    document/VDUnicode_LineBreak.cpp)

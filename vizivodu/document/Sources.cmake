# Document model (vizivodu/document): items, documents, item text encoding, pictures.
list(APPEND VIZIVODU_SOURCES
    document/VDGrHandler.cpp
    document/VDGrHandler_Classes.cpp
    document/VDGrHandler_Convert.cpp
    document/VDUnicode.cpp
    document/VDUnicode_Html.cpp
    document/VDUnicode_LineBreak.cpp)

# Plain-text files: loading 8-bit and UTF-16 text, saving the document as text.
list(APPEND VIZIVODU_SOURCES
    formats/text/CVDData_TextFile.cpp
    formats/text/VDTable_Text.cpp)

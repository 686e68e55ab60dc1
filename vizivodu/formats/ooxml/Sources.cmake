# DOCX: the styles' WordprocessingML halves (the package writer lands here too).
list(APPEND VIZIVODU_SOURCES
    formats/ooxml/VDStyle_OOXML.cpp
    formats/ooxml/VDStyle_OOXMLPara.cpp)

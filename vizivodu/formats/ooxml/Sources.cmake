# DOCX: the styles' WordprocessingML halves, the package writer with its saving context, the
# document body and whole-document parts, and the items', notes' and tables' DOCX halves.
list(APPEND VIZIVODU_SOURCES
    formats/ooxml/CVDData_OOXMLBody.cpp
    formats/ooxml/CVDData_OOXMLParts.cpp
    formats/ooxml/VDDocXPackage.cpp
    formats/ooxml/VDDocXSavingData.cpp
    formats/ooxml/VDItem_OOXML.cpp
    formats/ooxml/VDNotes_OOXML.cpp
    formats/ooxml/VDStyle_OOXML.cpp
    formats/ooxml/VDStyle_OOXMLPara.cpp
    formats/ooxml/VDTable_OOXML.cpp)

# RTF: the reader (tokenizer, keywords, properties, destinations), its document builder,
# the styles' RTF halves; the writer and the items' RTF halves.
list(APPEND VIZIVODU_SOURCES
    formats/rtf/CVDData_RTF.cpp
    formats/rtf/CVDData_RTFFrame.cpp
    formats/rtf/CVDData_RTFWrite.cpp
    formats/rtf/VDItem_RTF.cpp
    formats/rtf/VDNotes_RTF.cpp
    formats/rtf/VDPicture_RTF.cpp
    formats/rtf/VDRTFDest.cpp
    formats/rtf/VDRTFKeywords.cpp
    formats/rtf/VDRTFProps.cpp
    formats/rtf/VDRTFProps_Styles.cpp
    formats/rtf/VDRTFReader.cpp
    formats/rtf/VDRTFReader_Props.cpp
    formats/rtf/VDRTFReader_Text.cpp
    formats/rtf/VDRTFRecords.cpp
    formats/rtf/VDStyle_RTF.cpp
    formats/rtf/VDTable_RTF.cpp
    formats/rtf/ViziVodu_RTF.cpp)
# Tables into table items.
list(APPEND VIZIVODU_SOURCES
    formats/rtf/VDRTFProps_TableBuild.cpp
    formats/rtf/VDRTFProps_Tables.cpp
    formats/rtf/VDRTFTableGrid.cpp)
# Lists and old-style numbering into list styles and list markers.
list(APPEND VIZIVODU_SOURCES
    formats/rtf/VDRTFLists.cpp
    formats/rtf/VDRTFProps_Lists.cpp
    formats/rtf/VDRTFReader_Lists.cpp)
# Footnotes and endnotes into note items.
list(APPEND VIZIVODU_SOURCES
    formats/rtf/VDRTFProps_Notes.cpp)
# Pictures into picture items.
list(APPEND VIZIVODU_SOURCES
    formats/rtf/VDRTFPictures.cpp
    formats/rtf/VDRTFProps_Pictures.cpp
    formats/rtf/VDRTFReader_Pictures.cpp)
# Page-number, page-count and sequence fields.
list(APPEND VIZIVODU_SOURCES
    formats/rtf/VDRTFProps_Fields.cpp
    formats/rtf/VDRTFReader_Fields.cpp)

# The native document format: records, item lines, encoding helpers, reading and writing.
list(APPEND VIZIVODU_SOURCES
    formats/vdf/CVDData_VDFLoad.cpp
    formats/vdf/CVDData_VDFRead.cpp
    formats/vdf/CVDData_VDFStyles.cpp
    formats/vdf/CVDData_VDFWrite.cpp
    formats/vdf/VDFHelpers_Blocks.cpp
    formats/vdf/VDItem_VDF.cpp
    formats/vdf/VDLabelItem_VDF.cpp
    formats/vdf/VDTable_Stream.cpp
    formats/vdf/VDTable_VDF.cpp)

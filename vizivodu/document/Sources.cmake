# Subsystem 6, rich document model.
list(APPEND VIZIVODU_SOURCES
    document/CVDData.cpp
    document/CVDData_Helpers.cpp
    document/CVDData_Props.cpp
    document/CVDData_Styles.cpp
    document/CVDData_Text.cpp
    document/VDClasses.cpp
    document/VDDocParams.cpp
    document/VDFieldItems.cpp
    document/VDFloatingBox.cpp
    document/VDFHelpers.cpp
    document/VDGrHandler.cpp
    document/VDGrHandler_Classes.cpp
    document/VDGrHandler_Convert.cpp
    document/VDItem.cpp
    document/VDItem_BreakTab.cpp
    document/VDItem_Layout.cpp
    document/VDItem_Rect.cpp
    document/VDItem_Styles.cpp
    document/VDLabelItem.cpp
    document/VDLabelItem_Layout.cpp
    document/VDMarker.cpp
    document/VDUnicode.cpp
    document/VDUnicode_Html.cpp
    document/VDUnicode_LineBreak.cpp)

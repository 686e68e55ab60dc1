# Subsystem 7, rich document layout, display and printing, one folder per role.
# The text engine: the graphic interface, its GDI and complex-script engines, the font cache.
list(APPEND VIZIVODU_SOURCES
    layout/text/VDFontCache.cpp
    layout/text/VDGrIn.cpp
    layout/text/VDGrIn_Ranges.cpp
    layout/text/VDGrIn_Spacing.cpp
    layout/text/VDUniscribe.cpp
    layout/text/VDUniscribeGrIn.cpp
    layout/text/VDWinGrIn.cpp
    layout/text/VDWinGrIn_Text.cpp)
# The formatting engine: formatted documents, draw lines, backgrounds.
list(APPEND VIZIVODU_SOURCES
    layout/formatting/CVDFData.cpp
    layout/formatting/CVDFData_Finish.cpp
    layout/formatting/CVDFData_Hit.cpp
    layout/formatting/CVDFData_Lines.cpp
    layout/formatting/CVDFData_MinWidth.cpp
    layout/formatting/CVDFData_Mouse.cpp
    layout/formatting/CVDFData_MouseClicks.cpp
    layout/formatting/CVDFData_Overlay.cpp
    layout/formatting/CVDFData_Paint.cpp
    layout/formatting/CVDFData_Copy.cpp
    layout/formatting/CVDFData_Search.cpp
    layout/formatting/CVDFData_Partial.cpp
    layout/formatting/CVDFData_Selection.cpp
    layout/formatting/CVDFData_SelectionWords.cpp
    layout/formatting/CVDFData_Services.cpp
    layout/formatting/CVDFData_Struct.cpp
    layout/formatting/CVDFData_Wrap.cpp
    layout/formatting/DLines.cpp
    layout/formatting/VDBack.cpp)
# The viewer control: its root document, scroller and control data, thumbnails.
list(APPEND VIZIVODU_SOURCES
    layout/viewer/VDAnimate.cpp
    layout/viewer/VDAnimate_Hooks.cpp
    layout/viewer/VDCtrlData.cpp
    layout/viewer/VDLinear.cpp
    layout/viewer/VDScroll.cpp
    layout/viewer/VDThumbMaker.cpp
    layout/viewer/VDVDData.cpp
    layout/viewer/VDVDData_Events.cpp
    layout/viewer/ViziVodu.cpp
    layout/viewer/ViziVodu_Animation.cpp
    layout/viewer/ViziVodu_Api.cpp
    layout/viewer/ViziVodu_ApiHit.cpp
    layout/viewer/ViziVodu_ApiItems.cpp
    layout/viewer/ViziVodu_ApiProps.cpp
    layout/viewer/ViziVodu_ApiSelection.cpp
    layout/viewer/ViziVodu_DocX.cpp
    layout/viewer/ViziVodu_Files.cpp
    layout/viewer/ViziVodu_Input.cpp)
# Printing: printable documents and pagination, the printing component, the print preview.
list(APPEND VIZIVODU_SOURCES
    layout/printing/PtVDData.cpp
    layout/printing/PtVDData_Draw.cpp
    layout/printing/PtVDData_DrawItems.cpp
    layout/printing/PtVDData_Notes.cpp
    layout/printing/PtVDData_Paginate.cpp
    layout/printing/PtVDData_Sidenotes.cpp
    layout/printing/PtblVD.cpp
    layout/printing/PtblVD_Notes.cpp
    layout/printing/VDPP.cpp)

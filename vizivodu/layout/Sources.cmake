# Subsystem 7, rich document layout, display and printing.
list(APPEND VIZIVODU_SOURCES
    layout/CVDFData.cpp
    layout/CVDFData_Finish.cpp
    layout/CVDFData_Hit.cpp
    layout/CVDFData_Lines.cpp
    layout/CVDFData_MinWidth.cpp
    layout/CVDFData_Overlay.cpp
    layout/CVDFData_Paint.cpp
    layout/CVDFData_Partial.cpp
    layout/CVDFData_Services.cpp
    layout/CVDFData_Struct.cpp
    layout/CVDFData_Wrap.cpp
    layout/DLines.cpp
    layout/VDBack.cpp
    layout/VDCtrlData.cpp
    layout/VDFontCache.cpp
    layout/VDGrIn.cpp
    layout/VDGrIn_Ranges.cpp
    layout/VDGrIn_Spacing.cpp
    layout/VDScroll.cpp
    layout/VDThumbMaker.cpp
    layout/VDUniscribe.cpp
    layout/VDUniscribeGrIn.cpp
    layout/VDVDData.cpp
    layout/VDVDData_Events.cpp
    layout/VDWinGrIn.cpp
    layout/VDWinGrIn_Text.cpp
    layout/ViziVodu.cpp)
# Printing: printable documents and pagination, the printing component, the print preview.
list(APPEND VIZIVODU_SOURCES
    layout/PtVDData.cpp
    layout/PtVDData_Draw.cpp
    layout/PtVDData_DrawItems.cpp
    layout/PtVDData_Notes.cpp
    layout/PtVDData_Paginate.cpp
    layout/PtVDData_Sidenotes.cpp
    layout/PtblVD.cpp
    layout/PtblVD_Notes.cpp
    layout/VDPP.cpp)

# Subsystem 7, rich document layout, display and printing.
list(APPEND VIZIVODU_SOURCES
    layout/VDFontCache.cpp
    layout/VDGrIn.cpp
    layout/VDGrIn_Ranges.cpp
    layout/VDGrIn_Spacing.cpp
    layout/VDThumbMaker.cpp
    layout/VDUniscribe.cpp
    layout/VDUniscribeGrIn.cpp
    layout/VDWinGrIn.cpp
    layout/VDWinGrIn_Text.cpp)

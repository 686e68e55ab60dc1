# Subsystem 8, rich document tables.
list(APPEND VIZIVODU_SOURCES
    tables/VDDataList.cpp
    tables/VDTable.cpp
    tables/VDTable_Background.cpp
    tables/VDTable_Cells.cpp
    tables/VDTable_Columns.cpp
    tables/VDTable_Layout.cpp
    tables/VDTable_Merge.cpp
    tables/VDTable_Mouse.cpp
    tables/VDTable_Navigation.cpp
    tables/VDTable_Paint.cpp
    tables/VDTable_Print.cpp
    tables/VDTable_PrintQuery.cpp
    tables/VDTable_PrintSplit.cpp
    tables/VDTable_Props.cpp
    tables/VDTable_Restructure.cpp
    tables/VDTable_Styles.cpp)

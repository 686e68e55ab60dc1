# Subsystem 9, rich document editing: spelling marks, the undo lists and their records
# (undo/), and the editable document data (data/).
list(APPEND VIZIVODU_SOURCES
    editing/VDWordPainter.cpp
    editing/data/VDEVDData.cpp
    editing/data/VDEVDData_Caret.cpp
    editing/data/VDEVDData_Delete.cpp
    editing/data/VDEVDData_Enter.cpp
    editing/data/VDEVDData_Insert.cpp
    editing/data/VDEVDData_Keys.cpp
    editing/data/VDEVDData_Lists.cpp
    editing/data/VDEVDData_Primitives.cpp
    editing/data/VDEVDData_Styles.cpp
    editing/data/VDEVDData_Text.cpp
    editing/data/VDEVDData_Typing.cpp
    editing/data/VDEVDData_Undo.cpp
    editing/undo/VDUndo.cpp
    editing/undo/VDUndo_Records.cpp)

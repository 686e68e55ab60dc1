# Tests of the editable document: the undo lists, the caret and its movement, editing
# operations and their undo groups, and random editing sequences undone and redone.
list(APPEND VIZIVODU_TEST_SOURCES
    editing/data/VDEVDData_Caret_test.cpp
    editing/data/VDEVDData_Edit_test.cpp
    editing/data/VDEVDData_Lists_test.cpp
    editing/data/VDEVDData_Random_test.cpp
    editing/data/VDEVDData_Styles_test.cpp
    editing/undo/VDUndo_test.cpp)

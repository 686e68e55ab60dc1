# Routines the format writers share.
list(APPEND VIZIVODU_SOURCES
    formats/common/VDSafeSave.cpp)

# RTF: the styles' RTF halves (the reader and writer land here too).
list(APPEND VIZIVODU_SOURCES
    formats/rtf/VDStyle_RTF.cpp)

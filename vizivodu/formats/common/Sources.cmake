# The text routines every format writer shares: RTF, HTML and CSS, Symbol and Wingdings, OOXML
# and URLs.
list(APPEND VIZIVODU_SOURCES
    formats/common/VDFuncs_HTML.cpp
    formats/common/VDFuncs_HTMLFonts.cpp
    formats/common/VDFuncs_OOXML.cpp
    formats/common/VDFuncs_RTF.cpp
    formats/common/VDFuncs_Symbol.cpp
    formats/common/VDFuncs_URL.cpp)

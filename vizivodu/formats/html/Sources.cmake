# HTML: the styles' CSS and HTML halves (the HTML writer lands here too).
list(APPEND VIZIVODU_SOURCES
    formats/html/VDStyle_CSS.cpp
    formats/html/VDStyle_CSSPara.cpp
    formats/html/VDStyle_CSSSheet.cpp
    formats/html/VDStyle_HTMLLists.cpp)

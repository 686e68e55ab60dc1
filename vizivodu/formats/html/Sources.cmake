# HTML: the styles' CSS and HTML halves, the HTML writers with and without CSS, the items'
# and tables' HTML halves, and the picture files written beside an HTML file.
list(APPEND VIZIVODU_SOURCES
    formats/html/CVDData_HTML.cpp
    formats/html/CVDData_HTMLCSS.cpp
    formats/html/CVDData_HTMLCSSContent.cpp
    formats/html/CVDData_HTMLFonts.cpp
    formats/html/CVDData_PictureFiles.cpp
    formats/html/VDHTMLWriter.cpp
    formats/html/VDItem_HTML.cpp
    formats/html/VDMarker_HTML.cpp
    formats/html/VDStyle_CSS.cpp
    formats/html/VDStyle_CSSPara.cpp
    formats/html/VDStyle_CSSSheet.cpp
    formats/html/VDStyle_HTMLLists.cpp
    formats/html/VDTable_HTML.cpp
    formats/html/ViziVodu_HTML.cpp)

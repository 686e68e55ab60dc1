# Tests of the HTML halves: the styles' CSS and list elements, the document writers.
list(APPEND VIZIVODU_TEST_SOURCES
    formats/html/CVDData_HTML_test.cpp
    formats/html/VDStyle_CSS_test.cpp)

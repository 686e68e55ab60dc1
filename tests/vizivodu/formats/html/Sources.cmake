# Tests of the HTML halves: the styles' CSS and list elements.
list(APPEND VIZIVODU_TEST_SOURCES
    formats/html/VDStyle_CSS_test.cpp)

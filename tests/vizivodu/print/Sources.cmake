# Printing: pagination, page drawing, print jobs, the print preview.
list(APPEND VIZIVODU_TEST_SOURCES
    print/PtblVD_test.cpp)

# Tests of the DOCX halves: the styles' WordprocessingML, the package with its parts, and the
# packages read by other programs.
list(APPEND VIZIVODU_TEST_SOURCES
    formats/ooxml/VDDocXPackage_Outside_test.cpp
    formats/ooxml/VDDocXPackage_test.cpp
    formats/ooxml/VDStyle_OOXML_test.cpp)

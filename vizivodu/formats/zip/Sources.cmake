# ZIP: the packer the DOCX writer puts its package in.
list(APPEND VIZIVODU_SOURCES
    formats/zip/VDZipPacker.cpp)

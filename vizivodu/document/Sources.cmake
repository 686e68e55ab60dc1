# Subsystem 6, rich document model.
list(APPEND VIZIVODU_SOURCES
    document/VDClasses.cpp)

# Subsystem 10, import and export: one folder per format, each listing its own sources in its
# Sources.cmake (list(APPEND VIZIVODU_SOURCES formats/<format>/<Unit>.cpp ...)).
foreach(format common text vdf rtf html zip ooxml)
    if(EXISTS ${CMAKE_CURRENT_LIST_DIR}/${format}/Sources.cmake)
        include(${CMAKE_CURRENT_LIST_DIR}/${format}/Sources.cmake)
    endif()
endforeach()

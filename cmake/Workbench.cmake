# Shared build settings: warnings for our own code, sanitizers, and helpers for modules and tests.

if(WB_SANITIZE)
    add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=undefined
                        -fno-omit-frame-pointer)
    add_link_options(-fsanitize=address,undefined)
endif()

# Warnings are errors in our own code (not in what we include from the system).
function(wb_warnings target)
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Werror
                           -Wno-missing-field-initializers)
endfunction()

# wb_add_library(name SOURCES ... DEPS ...): one static library per module; the repository root
# is the include root ("platform/rtl/System.h", "ecg/M12ECG.h").
function(wb_add_library name)
    cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
    add_library(${name} STATIC ${ARG_SOURCES})
    target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR})
    target_link_libraries(${name} PUBLIC ${ARG_DEPS})
    wb_warnings(${name})
endfunction()

# wb_add_test(name SOURCES ... DEPS ... [LABELS ...]): one GoogleTest executable run by CTest.
# Tests run from their data folder's parent so fixtures are found by relative path.
function(wb_add_test name)
    cmake_parse_arguments(ARG "" "" "SOURCES;DEPS;LABELS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE ${ARG_DEPS} GTest::gtest GTest::gtest_main GTest::gmock)
    target_compile_definitions(${name} PRIVATE WB_TEST_DATA="${CMAKE_SOURCE_DIR}/tests/data")
    wb_warnings(${name})
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES
        ENVIRONMENT "QT_QPA_PLATFORM=offscreen;LC_ALL=C.UTF-8"
        LABELS "${ARG_LABELS}")
endfunction()

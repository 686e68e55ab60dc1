# Shared build settings: warnings for our own code, sanitizers, and helpers for modules and tests.

if(WB_SANITIZE)
    add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=undefined
                        -fno-omit-frame-pointer)
    add_link_options(-fsanitize=address,undefined)
endif()

# Warnings in our own code (not in what we include from the system); errors when WB_WERROR is
# on, as in CI, so that a packager's compiler with new warnings still builds.
function(wb_warnings target)
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic
                           -Wno-missing-field-initializers)
    if(WB_WERROR)
        target_compile_options(${target} PRIVATE -Werror)
    endif()
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

# wb_add_test(name SOURCES ... DEPS ... [LABELS ...]): one GoogleTest executable per module
# folder; CTest sees each of its tests (listed when the tests run, so a build never runs them).
include(GoogleTest)
function(wb_add_test name)
    cmake_parse_arguments(ARG "" "" "SOURCES;DEPS;LABELS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE ${ARG_DEPS} GTest::gtest GTest::gtest_main GTest::gmock)
    target_compile_definitions(${name} PRIVATE WB_TEST_DATA="${CMAKE_SOURCE_DIR}/tests/data")
    wb_warnings(${name})
    gtest_discover_tests(${name}
        DISCOVERY_MODE PRE_TEST
        DISCOVERY_TIMEOUT 60
        PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen;LC_ALL=C.UTF-8" LABELS "${ARG_LABELS}")
endfunction()

# Shared build settings: the module table, warnings for our own code, sanitizers, assertions,
# and helpers for modules and tests.

# Sanitizers; -O1 as AddressSanitizer advises (a Debug build's tests run several times faster and
# the sanitizers find the same faults), keeping Debug's assertions and debug information.
if(WB_SANITIZE)
    add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=undefined
                        -fno-omit-frame-pointer -O1)
    add_link_options(-fsanitize=address,undefined)
endif()

# The fuzz targets' coverage reaches into every module they link.
if(WB_FUZZ AND CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    add_compile_options(-fsanitize=fuzzer-no-link)
endif()

# Contract checks (platform/rtl/Assert.h) in Debug and sanitizer builds.
add_compile_definitions($<$<OR:$<CONFIG:Debug>,$<BOOL:${WB_SANITIZE}>>:WB_ASSERTIONS=1>)

# Warnings in our own code (not in what we include from the system); errors when WB_WERROR is
# on, as in CI, so that a packager's compiler with new warnings still builds.
function(wb_warnings target)
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic
                           -Wno-missing-field-initializers)
    if(WB_WERROR)
        target_compile_options(${target} PRIVATE -Werror)
        # GCC 12 at -O2 and -O3 reports overlapping copies, out-of-bounds reads and overflows
        # inside std::string's own inlined code that cannot happen (its -Wrestrict,
        # -Warray-bounds and -Wstringop-overflow false positives); they stay warnings there.
        if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
            target_compile_options(${target} PRIVATE -Wno-error=restrict -Wno-error=array-bounds
                                   -Wno-error=stringop-overflow)
        endif()
    endif()
endfunction()

# The sanitizers' settings, built into every executable of the sanitizer build (a variant for
# the fuzz targets).
if(WB_SANITIZE)
    set(defaults ${CMAKE_SOURCE_DIR}/tests/support/SanitizerDefaults.cpp)
    add_library(sanitizer_defaults OBJECT ${defaults})
    add_library(sanitizer_defaults_fuzz OBJECT ${defaults})
    target_compile_definitions(sanitizer_defaults_fuzz PRIVATE WB_FUZZ_TARGET)
    wb_warnings(sanitizer_defaults)
    wb_warnings(sanitizer_defaults_fuzz)
endif()

# Settings of every executable of ours: warnings, and the sanitizers' settings where they run.
# wb_executable(target [FUZZ]): FUZZ for the fuzz targets.
function(wb_executable target)
    cmake_parse_arguments(ARG "FUZZ" "" "" ${ARGN})
    wb_warnings(${target})
    if(ARG_FUZZ AND TARGET sanitizer_defaults_fuzz)
        target_link_libraries(${target} PRIVATE sanitizer_defaults_fuzz)
    elseif(TARGET sanitizer_defaults)
        target_link_libraries(${target} PRIVATE sanitizer_defaults)
    endif()
endfunction()

# ---- Precompiled headers and linking -------------------------------------------------------------

# Precompiled headers (WB_PCH): each module and each test executable parses the standard headers
# most of its sources include once (the test executables GoogleTest too, some modules their own
# central headers named in their CMakeLists.txt), which saves about a third of the sanitizer
# build's compiling. They are private to the target. No Qt header goes in: Qt's keyword macros
# (emit, signals, slots) would reach the sources that do not include Qt, and few sources of
# platform/gfx and platform/ui do. A precompiled header is included into every source, so it
# would hide a missing #include: the test command's Release build is made without them, and
# there every source compiles on its own includes (docs/ARCHITECTURE.md).
set(WB_PCH_STANDARD <algorithm> <array> <cmath> <cstdint> <cstring> <functional> <map> <memory>
    <string> <string_view> <utility> <vector>)
if(WB_PCH AND CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    # Without a time stamp in the header, ccache can reuse the compiles that use it.
    add_compile_options("SHELL:-Xclang -fno-pch-timestamp")
endif()

# wb_precompile(target [headers...]): the standard headers and headers (<system> or a path from
# the repository root) as target's private precompiled header, when WB_PCH is on.
function(wb_precompile target)
    if(NOT WB_PCH)
        return()
    endif()
    set(headers ${WB_PCH_STANDARD})
    foreach(header IN LISTS ARGN)
        if(header MATCHES "^<")
            list(APPEND headers ${header})
        else()
            list(APPEND headers ${CMAKE_SOURCE_DIR}/${header})
        endif()
    endforeach()
    target_precompile_headers(${target} PRIVATE ${headers})
    # A source with options of its own (an instruction set) cannot use a header compiled without
    # them.
    get_target_property(sources ${target} SOURCES)
    foreach(source IN LISTS sources)
        get_source_file_property(options ${source} COMPILE_OPTIONS)
        get_source_file_property(flags ${source} COMPILE_FLAGS)
        if(options OR flags)
            set_source_files_properties(${source} PROPERTIES SKIP_PRECOMPILE_HEADERS ON)
        endif()
    endforeach()
    # CMake keeps the time stamp of the generated header when the list changes, so Ninja would
    # keep a precompiled header of the old list; a new list changes the commands instead.
    string(MD5 list "${headers}")
    string(SUBSTRING ${list} 0 8 list)
    target_compile_definitions(${target} PRIVATE WB_PCH_LIST=${list})
endfunction()

# lld links the sanitizer build's test executables several times faster than ld.bfd; it is used
# where Debian's lld is installed (scripts/install-deps.sh installs it).
find_program(WB_LLD ld.lld)
if(WB_LLD)
    add_link_options(-fuse-ld=lld)
endif()

# ---- The module table (cmake/modules.txt) ------------------------------------------------------

# Reads the table into global properties WB_MODULE_DIR_<target> and WB_MODULE_DEPS_<target>, and
# sets WB_MODULES (every target, in table order) in the caller's scope.
function(wb_read_module_table)
    set(table ${CMAKE_SOURCE_DIR}/cmake/modules.txt)
    set_property(DIRECTORY ${CMAKE_SOURCE_DIR} APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${table})
    file(STRINGS ${table} lines)
    set(modules)
    foreach(line IN LISTS lines)
        string(REGEX REPLACE "#.*" "" line "${line}")
        string(STRIP "${line}" line)
        if(line STREQUAL "")
            continue()
        endif()
        string(REGEX REPLACE "[ \t]+" ";" fields "${line}")
        list(POP_FRONT fields name dir)
        if(name IN_LIST modules)
            message(FATAL_ERROR "cmake/modules.txt: ${name} has two rows")
        endif()
        foreach(dep IN LISTS fields)
            if(NOT dep STREQUAL "*" AND NOT dep IN_LIST modules)
                message(FATAL_ERROR
                        "cmake/modules.txt: ${name} needs ${dep}, which has no row above it")
            endif()
        endforeach()
        set_property(GLOBAL PROPERTY WB_MODULE_DIR_${name} ${dir})
        set_property(GLOBAL PROPERTY WB_MODULE_DEPS_${name} "${fields}")
        list(APPEND modules ${name})
    endforeach()
    set(WB_MODULES ${modules} PARENT_SCOPE)
endfunction()

# The folder of a module (relative to the source root) into out, as its row writes it (with a
# file pattern "/**/*Suffix" where the row has one).
function(wb_module_dir name out)
    get_property(dir GLOBAL PROPERTY WB_MODULE_DIR_${name})
    set(${out} ${dir} PARENT_SCOPE)
endfunction()

# The folder whose CMakeLists.txt makes a module: its row's folder without a file pattern.
function(wb_module_home name out)
    wb_module_dir(${name} dir)
    string(REGEX REPLACE "/\\*\\*/\\*[^/]*$" "" dir "${dir}")
    set(${out} ${dir} PARENT_SCOPE)
endfunction()

# The link libraries of target name: the modules of its row that are libraries (a test folder's
# header-only fixtures and modules not built yet are left out), then extras, which may name
# outside libraries (Qt, ICU ...) but only modules of the row. Fails when name has no row or is
# made outside its row's folder.
function(wb_module_link_libraries name extras out)
    get_property(known GLOBAL PROPERTY WB_MODULE_DIR_${name} SET)
    if(NOT known)
        message(FATAL_ERROR "${name} has no row in cmake/modules.txt")
    endif()
    wb_module_home(${name} dir)
    if(NOT CMAKE_CURRENT_SOURCE_DIR STREQUAL "${CMAKE_SOURCE_DIR}/${dir}")
        message(FATAL_ERROR "${name} is made in ${CMAKE_CURRENT_SOURCE_DIR}, its row says ${dir}")
    endif()
    get_property(deps GLOBAL PROPERTY WB_MODULE_DEPS_${name})
    set(libs)
    foreach(dep IN LISTS deps)
        if(TARGET ${dep})
            get_target_property(type ${dep} TYPE)
            if(NOT type STREQUAL "EXECUTABLE")
                list(APPEND libs ${dep})
            endif()
        else()
            wb_module_dir(${dep} depDir)
            if(EXISTS ${CMAKE_SOURCE_DIR}/${depDir}/CMakeLists.txt
               AND NOT depDir MATCHES "^tests/")
                message(FATAL_ERROR "${name} needs ${dep}, which is not made yet: "
                                    "its row must stand above ${name}'s in cmake/modules.txt")
            endif()
        endif()
    endforeach()
    foreach(extra IN LISTS extras)
        if(extra IN_LIST WB_MODULES AND NOT extra IN_LIST deps)
            message(FATAL_ERROR "${name} links ${extra}, which its row in cmake/modules.txt "
                                "does not list")
        endif()
    endforeach()
    set(${out} ${libs} ${extras} PARENT_SCOPE)
endfunction()

# wb_add_library(name SOURCES ... [DEPS ...] [PCH ...]): one static library per module, linked to
# the modules of its row in cmake/modules.txt; DEPS adds outside libraries, PCH headers to
# precompile beside the standard ones. The repository root is the include root
# ("platform/rtl/System.h", "ecg/M12ECG.h").
function(wb_add_library name)
    cmake_parse_arguments(ARG "" "" "SOURCES;DEPS;PCH" ${ARGN})
    wb_module_link_libraries(${name} "${ARG_DEPS}" libs)
    add_library(${name} STATIC ${ARG_SOURCES})
    target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR})
    target_link_libraries(${name} PUBLIC ${libs})
    wb_warnings(${name})
    wb_precompile(${name} ${ARG_PCH})
endfunction()

# wb_add_test(name SOURCES ... [DEPS ...] [LABELS ...] [PCH ...]): one GoogleTest executable per
# module folder, linked like a library from its row (which lists testsupport, whose main function
# sets the tests' environment), GoogleTest and PCH precompiled. CTest sees each of its tests and
# runs each in a process of its own (listed when the tests run, so a build never runs them); with
# WB_SUITE_PER_PROCESS it runs the executable whole instead, one process for all its tests.
include(GoogleTest)
function(wb_add_test name)
    cmake_parse_arguments(ARG "" "" "SOURCES;DEPS;LABELS;PCH" ${ARGN})
    wb_module_link_libraries(${name} "${ARG_DEPS}" libs)
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE ${libs} GTest::gtest GTest::gmock)
    target_compile_definitions(${name} PRIVATE WB_TEST_DATA="${CMAKE_SOURCE_DIR}/tests/data")
    wb_executable(${name})
    wb_precompile(${name} <gtest/gtest.h> ${ARG_PCH})
    if(WB_SUITE_PER_PROCESS)
        add_test(NAME ${name} COMMAND ${name})
        set_tests_properties(${name} PROPERTIES LABELS "${ARG_LABELS}")
    else()
        gtest_discover_tests(${name}
            DISCOVERY_MODE PRE_TEST
            DISCOVERY_TIMEOUT 60
            PROPERTIES LABELS "${ARG_LABELS}")
    endif()
endfunction()

# wb_add_resources(target RESOURCES type name file [type name file ...]): executable resources
# (platform/gfx/Resources.h) compiled into target through Qt's resource system. type and name
# are a number written "#n" or a name (stored in upper case, as resources are found); file is
# relative to the calling folder. Bitmaps (type "#2") are BMP files, cursors ("#12") CUR files.
function(wb_add_resources target)
    cmake_parse_arguments(ARG "" "" "RESOURCES" ${ARGN})
    find_package(Qt6 REQUIRED COMPONENTS Core)
    list(LENGTH ARG_RESOURCES count)
    math(EXPR last "${count} - 1")
    set(entries "")
    foreach(i RANGE 0 ${last} 3)
        math(EXPR n "${i} + 1")
        math(EXPR f "${i} + 2")
        list(GET ARG_RESOURCES ${i} type)
        list(GET ARG_RESOURCES ${n} name)
        list(GET ARG_RESOURCES ${f} file)
        string(TOUPPER "${type}/${name}" alias)
        string(APPEND entries
               "    <file alias=\"${alias}\">${CMAKE_CURRENT_SOURCE_DIR}/${file}</file>\n")
    endforeach()
    set(qrc ${CMAKE_CURRENT_BINARY_DIR}/${target}_resources.qrc)
    file(WRITE ${qrc} "<RCC>\n  <qresource prefix=\"/wbres\">\n${entries}  </qresource>\n</RCC>\n")
    qt_add_resources(sources ${qrc})
    target_sources(${target} PRIVATE ${sources})
endfunction()

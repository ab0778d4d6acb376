# Compiler settings for every target of this project. Qt and GoogleTest come in as imported
# targets, so their headers are system headers and their warnings do not reach us.
set(CMAKE_AUTOMOC ON)

add_compile_options(-Wall -Wextra -Wpedantic -Werror -Wshadow=local -Wnon-virtual-dtor
                    -Woverloaded-virtual -Wimplicit-fallthrough)

# Optimised builds check the C library's buffer calls as Debian hardens its own packages (the
# sanitizers check more, and more precisely, in theirs).
if(NOT MARTOOL_SANITIZE)
    set(optimised $<CONFIG:Release,RelWithDebInfo,MinSizeRel>)
    add_compile_options($<${optimised}:-U_FORTIFY_SOURCE> $<${optimised}:-D_FORTIFY_SOURCE=2>)
endif()

if(MARTOOL_SANITIZE)
    add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=undefined
                        -fno-omit-frame-pointer)
    add_link_options(-fsanitize=address,undefined)
endif()

# The platform layer's threads (the serial receivers, the line watchers) are checked for data races
# with ThreadSanitizer; it cannot be combined with AddressSanitizer.
option(MARTOOL_TSAN "Build everything with ThreadSanitizer" OFF)
if(MARTOOL_TSAN)
    add_compile_options(-fsanitize=thread -fno-omit-frame-pointer)
    add_link_options(-fsanitize=thread)
endif()

# Every received byte passes a few dozen small functions of the message loop, the window and the
# port; at -O3 (with the link-time optimisation below) the compiler inlines and specialises enough of
# them to take a fifth off the cost of a byte. GCC 12 then reports overlapping copies inside
# libstdc++'s own std::string that cannot happen (GCC bug 105329), so that one warning is off there.
if(NOT MARTOOL_SANITIZE AND NOT MARTOOL_TSAN AND CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
    set(fast $<CONFIG:Release,RelWithDebInfo>)
    add_compile_options($<${fast}:-O3>)
    # The link-time optimiser takes its level from the link.
    add_link_options($<${fast}:-O3>)
    if(CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
        add_compile_options($<${fast}:-Wno-restrict>)
    endif()
endif()

# Profile-guided optimisation. The per-byte path is a long chain of small, branchy functions whose
# hot and cold sides the compiler cannot tell apart on its own; with a profile of the program
# receiving, it lays out, inlines and unrolls for the paths that run, which takes close to a third off
# the cost of a byte. scripts/setup.sh makes the profile: it builds the benchmark instrumented
# (GENERATE) in a tree of its own, runs it, and builds this tree from what it wrote (USE). Object
# paths are taken relative to each tree, so the two trees' files match up.
set(MARTOOL_PGO OFF CACHE STRING "Profile-guided optimisation: OFF, GENERATE or USE")
set(MARTOOL_PGO_DIR "" CACHE PATH "Where the profile is written (GENERATE) or read from (USE)")
if(MARTOOL_PGO AND NOT MARTOOL_PGO STREQUAL "OFF")
    if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "GNU" OR NOT MARTOOL_PGO_DIR)
        message(FATAL_ERROR "MARTOOL_PGO needs GCC and MARTOOL_PGO_DIR")
    endif()
    set(pgo_where -fprofile-prefix-path=${CMAKE_BINARY_DIR})
    if(MARTOOL_PGO STREQUAL "GENERATE")
        # The serial receiver counts beside the loop's thread.
        add_compile_options(-fprofile-generate=${MARTOOL_PGO_DIR} ${pgo_where} -fprofile-update=atomic)
        add_link_options(-fprofile-generate=${MARTOOL_PGO_DIR})
    elseif(MARTOOL_PGO STREQUAL "USE")
        # Code the training never ran (dialogs, errors) is still optimised as usual, and a source
        # changed since the training simply goes without its profile.
        add_compile_options(-fprofile-use=${MARTOOL_PGO_DIR} ${pgo_where} -fprofile-partial-training
                            -fprofile-correction -Wno-missing-profile -Wno-coverage-mismatch)
        add_link_options(-fprofile-use=${MARTOOL_PGO_DIR} -fprofile-partial-training)
        # Specialised on the profile, std::string's copy is seen by GCC 12's link-time optimiser with
        # a length it can never have (the same family of false reports as GCC bug 105329).
        if(CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
            add_link_options(-Wno-stringop-overflow)
        endif()
    else()
        message(FATAL_ERROR "MARTOOL_PGO is OFF, GENERATE or USE, not ${MARTOOL_PGO}")
    endif()
endif()

# A received byte passes through a dozen small functions spread over the layers' libraries; only
# link-time optimisation lets the compiler inline them into one another. The libraries carry both
# forms, so the tests link them the ordinary, quick way and only the program and the benchmarks pay
# for the optimising link.
option(MARTOOL_LTO "Optimise the program and the benchmarks across source files at link time" ON)
set(MARTOOL_LTO_FLAGS)
if(MARTOOL_LTO AND NOT MARTOOL_SANITIZE AND NOT MARTOOL_TSAN AND CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
    set(MARTOOL_LTO_FLAGS -flto=auto)
endif()
# martool_optimise_at_link(<target>): links <target> with link-time optimisation when it is on.
function(martool_optimise_at_link target)
    if(MARTOOL_LTO_FLAGS)
        target_compile_options(${target} PRIVATE ${MARTOOL_LTO_FLAGS})
        target_link_options(${target} PRIVATE ${MARTOOL_LTO_FLAGS})
    endif()
endfunction()

# Parsing Qt's widget headers takes seconds per file; every target that uses them parses them once.
option(MARTOOL_PCH "Precompile the Qt headers for each target that uses Qt" ON)
set(MARTOOL_QT_HEADERS <QApplication> <QEvent> <QString> <QTimer> <QWidget> <functional> <memory> <string>
    <vector>)
function(martool_precompile target)
    if(MARTOOL_PCH)
        target_precompile_headers(${target} PRIVATE ${MARTOOL_QT_HEADERS} ${ARGN})
    endif()
endfunction()

# martool_library(<folder> [QT] SOURCES ... LIBS ...): one static library per source folder.
function(martool_library name)
    cmake_parse_arguments(ARG "QT" "" "SOURCES;LIBS" ${ARGN})
    add_library(mt_${name} STATIC ${ARG_SOURCES})
    target_include_directories(mt_${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(mt_${name} PUBLIC ${ARG_LIBS})
    if(ARG_QT)
        # Libraries share one precompiled header: they are compiled with the same flags, and the
        # framework alone is seven of them.
        get_property(host GLOBAL PROPERTY MARTOOL_QT_PCH_HOST)
        if(MARTOOL_PCH AND host)
            target_precompile_headers(mt_${name} REUSE_FROM ${host})
        else()
            martool_precompile(mt_${name})
            set_property(GLOBAL PROPERTY MARTOOL_QT_PCH_HOST mt_${name})
        endif()
    endif()
    if(MARTOOL_LTO_FLAGS)
        target_compile_options(mt_${name} PRIVATE ${MARTOOL_LTO_FLAGS} -ffat-lto-objects)
    endif()
endfunction()

# Compiler settings for every target of this project. Qt and GoogleTest come in as imported
# targets, so their headers are system headers and their warnings do not reach us.
set(CMAKE_AUTOMOC ON)

add_compile_options(-Wall -Wextra -Wpedantic -Werror -Wshadow=local -Wnon-virtual-dtor
                    -Woverloaded-virtual -Wimplicit-fallthrough)

if(MARTOOL_SANITIZE)
    add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=undefined
                        -fno-omit-frame-pointer)
    add_link_options(-fsanitize=address,undefined)
endif()

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
endfunction()

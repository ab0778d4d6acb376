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

# martool_library(<folder> SOURCES ... LIBS ...): one static library per source folder.
function(martool_library name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
    if(NOT ARG_SOURCES)
        # A folder whose code has not landed yet still gives a library to link against.
        set(ARG_SOURCES ${PROJECT_BINARY_DIR}/empty.cpp)
        file(TOUCH ${ARG_SOURCES})
    endif()
    add_library(mt_${name} STATIC ${ARG_SOURCES})
    target_include_directories(mt_${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(mt_${name} PUBLIC ${ARG_LIBS})
endfunction()

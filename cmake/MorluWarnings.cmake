# Warning flags for our own targets; third-party code is left alone.
function(morlu_set_warnings target)
    target_compile_options(${target} PRIVATE
        -Wall -Wextra -Wpedantic -Wnon-virtual-dtor -Woverloaded-virtual)
    if(MORLU_WERROR)
        target_compile_options(${target} PRIVATE -Werror)
    endif()
endfunction()

# A static library for one subsystem folder, with a namespaced alias and its folder as public include.
function(morlu_add_library name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LINK" ${ARGN})
    add_library(morlu_${name} STATIC ${ARG_SOURCES})
    add_library(Morlu::${name} ALIAS morlu_${name})
    target_include_directories(morlu_${name} PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
    target_link_libraries(morlu_${name} PUBLIC ${ARG_LINK})
    morlu_set_warnings(morlu_${name})
endfunction()

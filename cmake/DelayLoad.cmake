# Libraries that a program loads on the first call of one of their functions instead of at start:
# an import library made with dlltool's delay-import support from the functions named.
#   wmx_delay_loaded(TARGET DLL FUNCTION:ARGUMENT_BYTES...)
# makes TARGET, to link instead of the library's own import library. The argument bytes give the
# 32-bit names their stdcall decoration.
find_program(WMX_DLLTOOL ${WMX_MINGW}-dlltool REQUIRED)

function(wmx_delay_loaded target dll)
    set(definition "LIBRARY ${dll}\nEXPORTS\n")
    set(options)
    foreach(function ${ARGN})
        string(REPLACE ":" ";" parts ${function})
        list(GET parts 0 name)
        list(GET parts 1 bytes)
        if(CMAKE_SIZEOF_VOID_P EQUAL 4)
            string(APPEND definition "${name}@${bytes}\n")
        else()
            string(APPEND definition "${name}\n")
        endif()
    endforeach()
    if(CMAKE_SIZEOF_VOID_P EQUAL 4)
        set(options --kill-at)
    endif()
    set(def ${CMAKE_BINARY_DIR}/delay-loaded/${target}.def)
    set(library ${CMAKE_BINARY_DIR}/delay-loaded/lib${target}.a)
    file(CONFIGURE OUTPUT ${def} CONTENT "${definition}")
    add_custom_command(
        OUTPUT ${library}
        COMMAND ${WMX_DLLTOOL} ${options} --input-def ${def} --output-delaylib ${library}
        DEPENDS ${def}
        COMMENT "Making the delay-import library of ${dll}")
    add_custom_target(${target}_import DEPENDS ${library})
    add_library(${target} INTERFACE)
    add_dependencies(${target} ${target}_import)
    target_link_libraries(${target} INTERFACE ${library})
endfunction()

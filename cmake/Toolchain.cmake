# Compiler flags shared by every target of the project.

add_compile_options(-Wall -Wextra -Wpedantic -Werror -Wshadow
                    -Wno-missing-field-initializers)

if(DAX_SANITIZE)
    add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer
                        -fno-sanitize-recover=undefined)
    add_link_options(-fsanitize=address,undefined)
endif()

if(WIN32)
    # Exports keep their undecorated names (T_GetA, not _T_GetA@12), and the DLLs
    # carry their own C++ run-time so that nothing else needs to sit beside them.
    add_link_options(-static -static-libgcc -static-libstdc++)
    set(DAX_SHARED_LINK_OPTIONS -Wl,--kill-at)
    set(CMAKE_SHARED_LIBRARY_PREFIX "")
endif()

# Makes a shared library from the objects of an object library, so that unit tests
# can link the same objects directly while hosts load the shared library.
function(dax_add_shared_library name core)
    add_library(${name} SHARED $<TARGET_OBJECTS:${core}>)
    target_link_options(${name} PRIVATE ${DAX_SHARED_LINK_OPTIONS})
    if(WIN32)
        set_target_properties(${name} PROPERTIES OUTPUT_NAME ${name} IMPORT_PREFIX lib)
    endif()
    if(WIN32)
        set(def_file ${CMAKE_BINARY_DIR}/archive/${name}.def)
        target_link_options(${name} PRIVATE -Wl,--output-def,${def_file})
    endif()
    if(WIN32 AND CMAKE_SIZEOF_VOID_P EQUAL 4)
        add_custom_command(TARGET ${name} POST_BUILD
            COMMAND ${CMAKE_COMMAND} -DDEF_FILE=${def_file} -DDLL_NAME=${name}.dll
                    -DIMPORT_LIBRARY=$<TARGET_LINKER_FILE:${name}>
                    -DDLLTOOL=${MINGW_TRIPLE}-dlltool
                    -P ${CMAKE_SOURCE_DIR}/cmake/StdcallImportLibrary.cmake
            VERBATIM)
    endif()
endfunction()

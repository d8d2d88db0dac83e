# Rebuilds the import library of a 32-bit DLL whose exports were stripped of their
# stdcall decorations (--kill-at): the DLL exports "Name", while callers compiled
# against the headers refer to "Name@N". dlltool -k makes an import library whose
# symbols keep the decoration and whose imported names do not.
# Arguments: DEF_FILE (written by the linker), DLL_NAME, IMPORT_LIBRARY, DLLTOOL.
file(STRINGS ${DEF_FILE} lines)
set(decorated "EXPORTS\n")
# Names without a decoration (C++ class members, with DATA for vtables and type
# information) are kept as they are.
foreach(line IN LISTS lines)
    if(line MATCHES "^EXPORTS")
        continue()
    endif()
    if(line MATCHES "^[ \t]*([A-Za-z0-9_]+) = ([A-Za-z0-9_]+@[0-9]+)")
        string(APPEND decorated "    ${CMAKE_MATCH_2}\n")
    elseif(line MATCHES "^[ \t]*([A-Za-z0-9_]+)( @[0-9]+)?([ \t]+DATA)?[ \t]*$")
        string(APPEND decorated "    ${CMAKE_MATCH_1}${CMAKE_MATCH_3}\n")
    endif()
endforeach()
file(WRITE ${DEF_FILE}.decorated ${decorated})
execute_process(COMMAND ${DLLTOOL} -k -d ${DEF_FILE}.decorated -D ${DLL_NAME} -l ${IMPORT_LIBRARY}
                RESULT_VARIABLE result)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "dlltool failed for ${DLL_NAME}")
endif()

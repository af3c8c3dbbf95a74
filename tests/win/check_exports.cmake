# Reads the export table of Tamblin1.dll and compares it with the fifteen
# names callers link against. Run as: cmake -DOBJDUMP=... -DDLL=... -P check_exports.cmake
set(expected
    _DLL_Entry_000_001@0 _DLL_Entry_000_002@0 _DLL_Entry_000_003@4 _DLL_Entry_000_004@20
    _DLL_Entry_000_005@32 _DLL_Entry_000_006@12 _DLL_Entry_000_007@0 _DLL_Entry_000_008@32
    _DLL_Entry_000_009@0 _DLL_Entry_000_010@0 _DLL_Entry_000_011@4 _DLL_Entry_000_012@8
    _DLL_Entry_000_013@8 _DLL_Entry_000_014@4 _DLL_Entry_000_015@0)
execute_process(COMMAND ${OBJDUMP} -p ${DLL} OUTPUT_VARIABLE dump RESULT_VARIABLE result)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "objdump failed on ${DLL}")
endif()
string(REGEX MATCH "\\[Ordinal/Name Pointer\\] Table\n([^\n]*\n)*" table "${dump}")
string(REGEX MATCHALL "\\][ \t]+[^ \t\n]+" entries "${table}")
set(actual)
foreach(entry IN LISTS entries)
    string(REGEX REPLACE "^\\][ \t]+" "" name "${entry}")
    list(APPEND actual ${name})
endforeach()
list(SORT actual)
if(NOT actual STREQUAL expected)
    message(FATAL_ERROR "Export table differs.\nexpected: ${expected}\nactual:   ${actual}")
endif()
message(STATUS "15 exports as expected: ${actual}")

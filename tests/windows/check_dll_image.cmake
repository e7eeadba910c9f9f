# Checks the built plug-in library's image: a 32-bit DLL whose only export is
# _AvisynthPluginInit2@4, which imports from KERNEL32.dll and msvcrt.dll alone, and whose
# version resource carries the plug-in's description, version and names.
#
#   cmake -DDLL=Velmire.dll -DOBJDUMP=i686-w64-mingw32-objdump -P check_dll_image.cmake

set(failures "")

execute_process(COMMAND ${OBJDUMP} -p ${DLL} OUTPUT_VARIABLE dump RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "${OBJDUMP} -p ${DLL} failed")
endif()

string(FIND "${dump}" "file format pei-i386" format_at)
if(format_at EQUAL -1)
  list(APPEND failures "not a 32-bit x86 image")
endif()
string(REGEX MATCH "Characteristics 0x[0-9a-f]+\n([^\n]*\n)*" characteristics "${dump}")
string(FIND "${characteristics}" "DLL" dll_at)
if(dll_at EQUAL -1)
  list(APPEND failures "the image is not marked as a DLL")
endif()

# Exports: the name table follows "[Ordinal/Name Pointer] Table", one "[ n] name" a line.
string(REGEX MATCH "\\[Ordinal/Name Pointer\\] Table\n(\t\\[ *[0-9]+\\] [^\n]+\n)*" table "${dump}")
string(REGEX MATCHALL "\t\\[ *[0-9]+\\] [^\n]+" exports "${table}")
list(TRANSFORM exports REPLACE "^\t\\[ *[0-9]+\\] " "")
if(NOT exports STREQUAL "_AvisynthPluginInit2@4")
  list(APPEND failures "exports are [${exports}], expected [_AvisynthPluginInit2@4]")
endif()

string(REGEX MATCHALL "DLL Name: [^\n]+" imports "${dump}")
list(TRANSFORM imports REPLACE "^DLL Name: " "")
list(TRANSFORM imports TOLOWER)
list(SORT imports)
if(NOT imports STREQUAL "kernel32.dll;msvcrt.dll")
  list(APPEND failures "imports are [${imports}], expected [KERNEL32.dll;msvcrt.dll]")
endif()

# Version resource. The numeric versions sit in the fixed block after its signature
# 0xFEEF04BD and the structure version: file 0.0.0.1, then product 0.0.0.1 (little-endian).
file(READ ${DLL} image HEX)
string(REGEX MATCH "bd04effe........(................)(................)" fixed "${image}")
if(NOT CMAKE_MATCH_1 STREQUAL "0000000001000000")
  list(APPEND failures "numeric file version is not 0.0.0.1")
endif()
if(NOT CMAKE_MATCH_2 STREQUAL "0000000001000000")
  list(APPEND failures "numeric product version is not 0.0.0.1")
endif()

# Each string is stored in UTF-16: its key, a terminating zero, padding to a 4-byte boundary,
# then the value with its terminating zero.
function(utf16_hex text out)
  string(HEX "${text}" hex)
  string(REGEX REPLACE "(..)" "\\100" hex "${hex}")
  set(${out} "${hex}" PARENT_SCOPE)
endfunction()
foreach(pair "FileDescription=Avisynth Plugin - Cross Color Reduction"
             "FileVersion=0, 0, 0, 1" "ProductVersion=0, 0, 0, 1"
             "InternalName=Velmire" "OriginalFilename=Velmire.dll")
  string(REGEX MATCH "^([^=]+)=(.*)$" _ "${pair}")
  set(key "${CMAKE_MATCH_1}")
  set(value "${CMAKE_MATCH_2}")
  utf16_hex("${key}" key_hex)
  utf16_hex("${value}" value_hex)
  string(REGEX MATCH "${key_hex}0000(0000)?${value_hex}0000" found "${image}")
  if(found STREQUAL "")
    list(APPEND failures "version resource lacks ${key} \"${value}\"")
  endif()
endforeach()

if(failures)
  list(JOIN failures "\n  " text)
  message(FATAL_ERROR "${DLL}:\n  ${text}")
endif()
message(STATUS "${DLL}: one export _AvisynthPluginInit2@4, imports ${imports}, version resource as expected")

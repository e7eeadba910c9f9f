# Checks a built plug-in DLL's image: its machine, that its only exports are EXPORTS, that it
# imports from the DLLs IMPORTS alone, and that its version resource carries the version VERSION
# (file and product) and the strings STRINGS.
#
#   cmake -DDLL=Velmire.dll -DOBJDUMP=i686-w64-mingw32-objdump [-DMACHINE=pei-x86-64]
#         [-DEXPORTS=a|b] [-DIMPORTS=a.dll|b.dll] [-DVERSION=0.0.0.1]
#         [-DSTRINGS=Key=value|Key=value] -P check_dll_image.cmake
#
# Lists are separated by "|". Left out, the values are those of Velmire.dll, the 2.5 plug-in: a
# 32-bit image exporting _AvisynthPluginInit2@4 alone, importing KERNEL32.dll and msvcrt.dll,
# version 0.0.0.1 with its description and names.

if(NOT DEFINED MACHINE)
  set(MACHINE pei-i386)
endif()
if(NOT DEFINED EXPORTS)
  set(EXPORTS "_AvisynthPluginInit2@4")
endif()
if(NOT DEFINED IMPORTS)
  set(IMPORTS "kernel32.dll|msvcrt.dll")
endif()
if(NOT DEFINED VERSION)
  set(VERSION 0.0.0.1)
endif()
if(NOT DEFINED STRINGS)
  set(STRINGS "FileDescription=Avisynth Plugin - Cross Color Reduction|FileVersion=0, 0, 0, 1|"
              "ProductVersion=0, 0, 0, 1|InternalName=Velmire|OriginalFilename=Velmire.dll")
  string(JOIN "" STRINGS ${STRINGS})
endif()
foreach(list EXPORTS IMPORTS STRINGS)
  string(REPLACE "|" ";" ${list} "${${list}}")
endforeach()

set(failures "")

execute_process(COMMAND ${OBJDUMP} -p ${DLL} OUTPUT_VARIABLE dump RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "${OBJDUMP} -p ${DLL} failed")
endif()

string(FIND "${dump}" "file format ${MACHINE}\n" format_at)
if(format_at EQUAL -1)
  string(REGEX MATCH "file format [^\n]+" format "${dump}")
  list(APPEND failures "${format}, expected ${MACHINE}")
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
list(SORT exports)
list(SORT EXPORTS)
if(NOT exports STREQUAL EXPORTS)
  list(APPEND failures "exports are [${exports}], expected [${EXPORTS}]")
endif()

string(REGEX MATCHALL "DLL Name: [^\n]+" imports "${dump}")
list(TRANSFORM imports REPLACE "^DLL Name: " "")
list(TRANSFORM imports TOLOWER)
list(SORT imports)
list(TRANSFORM IMPORTS TOLOWER)
list(SORT IMPORTS)
if(NOT imports STREQUAL IMPORTS)
  list(APPEND failures "imports are [${imports}], expected [${IMPORTS}]")
endif()

# Version resource. The numeric versions sit in the fixed block after its signature
# 0xFEEF04BD and the structure version: the file version, then the product version, each as
# two little-endian 32-bit words (major << 16 | minor, then patch << 16 | tweak).
file(READ ${DLL} image HEX)
string(REPLACE "." ";" parts "${VERSION}")
list(LENGTH parts count)
while(count LESS 4)  # 1.0.0 is 1.0.0.0
  list(APPEND parts 0)
  math(EXPR count "${count} + 1")
endwhile()
set(version_hex "")
foreach(index 1 0 3 2)
  list(GET parts ${index} part)
  math(EXPR low "${part} & 255" OUTPUT_FORMAT HEXADECIMAL)
  math(EXPR high "${part} >> 8" OUTPUT_FORMAT HEXADECIMAL)
  foreach(byte low high)
    string(REGEX REPLACE "^0x" "" ${byte} "${${byte}}")
    string(LENGTH "${${byte}}" length)
    if(length EQUAL 1)
      set(${byte} "0${${byte}}")
    endif()
    string(APPEND version_hex "${${byte}}")
  endforeach()
endforeach()
string(REGEX MATCH "bd04effe........(................)(................)" fixed "${image}")
if(NOT CMAKE_MATCH_1 STREQUAL version_hex)
  list(APPEND failures "numeric file version is not ${VERSION}")
endif()
if(NOT CMAKE_MATCH_2 STREQUAL version_hex)
  list(APPEND failures "numeric product version is not ${VERSION}")
endif()

# Each string is stored in UTF-16: its key, a terminating zero, padding to a 4-byte boundary,
# then the value with its terminating zero.
function(utf16_hex text out)
  string(HEX "${text}" hex)
  string(REGEX REPLACE "(..)" "\\100" hex "${hex}")
  set(${out} "${hex}" PARENT_SCOPE)
endfunction()
foreach(pair IN LISTS STRINGS)
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
message(STATUS "${DLL}: ${MACHINE}, exports ${exports}, imports ${imports}, version ${VERSION}, "
               "version strings as expected")

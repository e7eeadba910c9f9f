# Writes the tool's manual page from its usage text, so the two never disagree.
#
#   cmake -DTOOL=path/to/velmire [-DEMULATOR=qemu-aarch64] -DVERSION=1.0.0 -DOUTPUT=velmire.1
#         -P man_page.cmake
#
# EMULATOR runs the tool of a cross build (it is empty for a native one).
#
# The usage text's parts become the page's: the "Usage:" lines its synopsis, the paragraph under
# them its description, each "Heading:" line a section, each option line ("  --name ARG  what
# it does", continued on deeper-indented lines) a tagged paragraph, and the indented lines under
# the example verbatim text. The page carries no date, so the same text gives the same bytes.

execute_process(COMMAND ${EMULATOR} ${TOOL} --help OUTPUT_VARIABLE usage RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "${TOOL} --help failed")
endif()

# Roff: a backslash is \e, a hyphen in an option \-, and a line may not start with . or '.
function(roff text out)
  string(REPLACE "\\" "\\e" text "${text}")
  string(REGEX REPLACE "^([.'])" "\\\\&\\1" text "${text}")
  set(${out} "${text}" PARENT_SCOPE)
endfunction()
function(roff_option text out)
  roff("${text}" text)
  string(REPLACE "-" "\\-" text "${text}")
  set(${out} "\\fB${text}\\fR" PARENT_SCOPE)
endfunction()

set(page ".TH VELMIRE 1 \"\" \"velmire ${VERSION}\" \"User Commands\"\n.SH NAME\n")
string(APPEND page "velmire \\- removes cross-colour from YUV4MPEG2 video\n.SH SYNOPSIS\n.nf\n")
string(REPLACE ";" "\\;" usage "${usage}")
string(REPLACE "\n" ";" lines "${usage}")
set(part synopsis)  # synopsis, text, options or verbatim
set(paragraph "")   # ".PP" after a blank line, written before the next line of text
foreach(line IN LISTS lines)
  if(part STREQUAL "synopsis")
    if(line MATCHES "^(Usage: |       )(velmire.*)$")
      roff_option("${CMAKE_MATCH_2}" line)
      string(APPEND page "${line}\n")
      continue()
    endif()
    string(APPEND page ".fi\n.SH DESCRIPTION\n")
    set(part text)
  endif()
  if(line STREQUAL "")
    if(part STREQUAL "verbatim")
      string(APPEND page ".fi\n")
    endif()
    set(paragraph ".PP\n")
    set(part text)
    continue()
  endif()
  if(line MATCHES "^([A-Z][^:(]*)( \\((.*)\\))?:$")
    string(TOUPPER "${CMAKE_MATCH_1}" heading)
    set(aside "${CMAKE_MATCH_3}")
    string(APPEND page ".SH ${heading}\n")
    if(aside)
      roff("${aside}" aside)
      string(APPEND page "(${aside})\n")
    endif()
    set(part options)
    if(heading STREQUAL "EXAMPLE")
      string(APPEND page ".nf\n")
      set(part verbatim)
    endif()
  elseif(part STREQUAL "verbatim")
    roff("${line}" line)
    string(APPEND page "${line}\n")
  elseif(line MATCHES "^  (-[^ ,]+( [^ -][^ ]*)?(, -[^ ,]+( [^ -][^ ]*)?)*)( +(.*))?$")
    roff_option("${CMAKE_MATCH_1}" option)
    roff("${CMAKE_MATCH_6}" text)
    string(APPEND page ".TP\n${option}\n")
    if(text)
      string(APPEND page "${text}\n")
    endif()
  elseif(line MATCHES "^ +(.*)$")
    roff("${CMAKE_MATCH_1}" text)
    string(APPEND page "${text}\n")
  else()
    roff("${line}" text)
    string(APPEND page "${paragraph}${text}\n")
  endif()
  set(paragraph "")
endforeach()
file(WRITE ${OUTPUT} "${page}")

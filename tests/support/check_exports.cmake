# cmake -DLIBRARY=lib.so -DNM=nm -DEXPECTED=name -P check_exports.cmake
# Fails unless the shared library's dynamic symbol table defines exactly the symbols EXPECTED.
execute_process(COMMAND ${NM} -D --defined-only ${LIBRARY}
                OUTPUT_VARIABLE listing RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "${NM} failed on ${LIBRARY}")
endif()
string(REGEX MATCHALL "[^ \n]+\n" names "${listing}")
list(TRANSFORM names STRIP)
list(SORT names)
list(SORT EXPECTED)
if(NOT names STREQUAL EXPECTED)
  message(FATAL_ERROR "${LIBRARY} exports '${names}', expected '${EXPECTED}'")
endif()
message(STATUS "${LIBRARY} exports ${names} alone")

# Prepares the 32-bit Wine prefix PREFIX from nothing with WINE_RUN (and WINE), as ctest does before test
# discovery, then has PROGRAM list its tests through WINE_RUN within test discovery's default
# time limit, its output read through a pipe as discovery reads it.
file(REMOVE_RECURSE ${PREFIX})
execute_process(COMMAND sh ${WINE_RUN} ${PREFIX} win32 ${WINE} RESULT_VARIABLE setup TIMEOUT 240)
execute_process(COMMAND sh ${WINE_RUN} ${PREFIX} win32 ${WINE} ${PROGRAM} --gtest_list_tests
                OUTPUT_VARIABLE listed RESULT_VARIABLE status TIMEOUT 5)
execute_process(COMMAND env WINEPREFIX=${PREFIX} wineserver -k)
file(REMOVE_RECURSE ${PREFIX})
if(NOT setup EQUAL 0 OR NOT status EQUAL 0 OR NOT listed MATCHES "ClipObject\\.")
  message(FATAL_ERROR "setup: ${setup}; listing the tests: ${status}\n${listed}")
endif()
message("listed within 5 s after the setup:\n${listed}")

# Prepares the Wine prefix PREFIX from nothing with WINE_RUN, as ctest does before test
# discovery, then has PROGRAM list its tests through WINE_RUN within test discovery's default
# time limit, its output read through a pipe as discovery reads it.
file(REMOVE_RECURSE ${PREFIX})
execute_process(COMMAND sh ${WINE_RUN} ${PREFIX} RESULT_VARIABLE setup TIMEOUT 240)
execute_process(COMMAND sh ${WINE_RUN} ${PREFIX} ${PROGRAM} --gtest_list_tests
                OUTPUT_VARIABLE listed RESULT_VARIABLE status TIMEOUT 5)
execute_process(COMMAND env WINEPREFIX=${PREFIX} wineserver -k)
file(REMOVE_RECURSE ${PREFIX})
if(NOT setup EQUAL 0 OR NOT status EQUAL 0 OR NOT listed MATCHES "ClipObject\\.")
  message(FATAL_ERROR "setup: ${setup}; listing the tests: ${status}\n${listed}")
endif()
message("listed within 5 s after the setup:\n${listed}")

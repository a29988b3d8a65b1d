# Runs a Qt Test program under Wine, where the program's output to a pipe comes out empty: the
# program writes its log to a file, which is shown here. The test passes only when the program
# ends with status 0 and its log ends with totals that count no failure.
# cmake -DWINE=<wine> -DPROGRAM=<test.exe> -DLOG=<log file> [-DDLLS=<folder>|<folder>...]
#       -P winetest.cmake
# DLLS: the folders where the program's DLLs are, given to Wine as its search path.
if(DLLS)
    string(REPLACE "|" ";" folders "${DLLS}")
    list(TRANSFORM folders PREPEND "Z:")
    set(ENV{WINEPATH} "${folders}")
endif()
file(REMOVE "${LOG}")
execute_process(COMMAND "${WINE}" "${PROGRAM}" -o "${LOG},txt" RESULT_VARIABLE status)
set(log "")
if(EXISTS "${LOG}")
    file(READ "${LOG}" log)
endif()
message("${log}")
if(NOT status EQUAL 0)
    message(FATAL_ERROR "${PROGRAM} ended with status ${status}")
endif()
if(NOT log MATCHES "\nTotals: [0-9]+ passed, 0 failed, [0-9]+ skipped")
    message(FATAL_ERROR "${PROGRAM} left no log with its totals")
endif()

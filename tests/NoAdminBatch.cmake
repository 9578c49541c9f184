# The players' batch file under Wine's cmd, in a folder of its own: alone, as a player starts it
# from inside the zip, it must say to extract the zip and start nothing; beside TorvanPatch.exe it
# must start it. What runs is ended by taskkill, whose exit code tells whether anything ran.
#   cmake -DBAT=<batch file> -DEXE=<TorvanPatch.exe> -DWORK=<folder> -DRUN=<wine-run.sh> -P this
# Output to a file: a started program inherits the handles and would hold a pipe open.
function(run_batch out)
  # A new Wine command may reach a wineserver as it exits, 3 s after the last one ended, and lose
  # its connection: wait until it has gone.
  execute_process(COMMAND wineserver -w)
  execute_process(COMMAND ${RUN} cmd /c TorvanPatch-NoAdmin.bat WORKING_DIRECTORY ${WORK}
                  INPUT_FILE /dev/null OUTPUT_FILE ${WORK}.log ERROR_FILE ${WORK}.log TIMEOUT 60)
  file(READ ${WORK}.log text)
  set(${out} "${text}" PARENT_SCOPE)
endfunction()
# Waits up to 10 s for a TorvanPatch.exe (nothing that runs is left behind).
function(end_started out wait)
  foreach(try RANGE ${wait})
    execute_process(COMMAND ${RUN} taskkill /f /im TorvanPatch.exe RESULT_VARIABLE rc
                    OUTPUT_QUIET ERROR_QUIET)
    if(rc EQUAL 0)
      set(${out} TRUE PARENT_SCOPE)
      return()
    endif()
    execute_process(COMMAND ${CMAKE_COMMAND} -E sleep 1)
  endforeach()
  set(${out} FALSE PARENT_SCOPE)
endfunction()
macro(fail why)
  file(REMOVE_RECURSE ${WORK} ${WORK}.log)
  message(FATAL_ERROR "${why}")
endmacro()

file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})
file(COPY ${BAT} DESTINATION ${WORK})
run_batch(text)
end_started(started 0)
if(started OR NOT text MATCHES "Extract the whole zip into a folder of its own first")
  fail("alone, the batch file started TorvanPatch.exe (${started}) or did not say to extract: ${text}")
endif()
file(COPY ${EXE} DESTINATION ${WORK})
run_batch(text)
end_started(started 10)
if(NOT started)
  fail("beside TorvanPatch.exe, the batch file did not start it: ${text}")
endif()
file(REMOVE_RECURSE ${WORK} ${WORK}.log)
message(STATUS "the batch file says to extract when alone, and starts TorvanPatch.exe beside it")

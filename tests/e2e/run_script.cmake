# Runs one editor script: cmake -DPAGORA=... -DSCRIPT=NAME.pgs -DSAMPLE=dir
# -DDATA=dir -DWORK=dir -P run_script.cmake
#
# The script's first lines may declare "# exit: N" (the expected status,
# default 0), "# comic: FILE" (the comic to open, relative to the work
# folder) and "# set: KEY=VALUE" (a setting preset, repeatable). The work
# folder's path reads "$WORK" in the output, so that NAME.out holds no path
# of this machine. The output must equal NAME.out beside the script.
foreach(required PAGORA SCRIPT SAMPLE WORK)
  if(NOT DEFINED ${required})
    message(FATAL_ERROR "run_script.cmake needs -D${required}=...")
  endif()
endforeach()

file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK}/xdg/data ${WORK}/xdg/config ${WORK}/xdg/cache)
file(COPY ${SAMPLE}/ DESTINATION ${WORK})
if(DEFINED DATA AND IS_DIRECTORY ${DATA})
  file(COPY ${DATA}/ DESTINATION ${WORK})
endif()

file(STRINGS ${SCRIPT} header LIMIT_COUNT 10)
set(expected_status 0)
set(comic)
set(presets)
foreach(line IN LISTS header)
  if(line MATCHES "^# exit: ([0-9]+)$")
    set(expected_status ${CMAKE_MATCH_1})
  elseif(line MATCHES "^# comic: (.+)$")
    set(comic ${CMAKE_MATCH_1})
  elseif(line MATCHES "^# set: (.+)$")
    list(APPEND presets --set ${CMAKE_MATCH_1})
  endif()
endforeach()

get_filename_component(name ${SCRIPT} NAME_WE)
get_filename_component(folder ${SCRIPT} DIRECTORY)
execute_process(
  COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen
          XDG_DATA_HOME=${WORK}/xdg/data XDG_CONFIG_HOME=${WORK}/xdg/config
          XDG_CACHE_HOME=${WORK}/xdg/cache
          ${PAGORA} --script ${SCRIPT} ${presets} ${comic}
  WORKING_DIRECTORY ${WORK}
  OUTPUT_VARIABLE output
  ERROR_VARIABLE errors
  RESULT_VARIABLE status)

string(REPLACE "${WORK}" "$WORK" output "${output}")
file(READ ${folder}/${name}.out expected)
file(WRITE ${WORK}/${name}.actual "${output}")
if(NOT output STREQUAL expected)
  message(FATAL_ERROR "output differs from ${name}.out (got ${WORK}/${name}.actual):\n"
                      "${output}\n--- standard error:\n${errors}")
endif()
if(NOT status STREQUAL expected_status)
  message(FATAL_ERROR "exit status ${status}, expected ${expected_status}\n${errors}")
endif()

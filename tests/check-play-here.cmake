# "play here" writes nothing and leaves the level as it was. In WORK, a copy of
# data/ and of LEVEL: the tested routes that end without saving (one won, one
# lost on a new level) must leave every file there as it was and make none,
# not even data/progress.txt or a hidden temporary file; and the level saved
# after a test must be the very file saved without one.
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})
file(COPY ${SOURCE}/data DESTINATION ${WORK})
configure_file(${LEVEL} ${WORK}/tested.map COPYONLY)
configure_file(${LEVEL} ${WORK}/untested.map COPYONLY)
file(WRITE ${WORK}/save.replay "1 tap OK\n")

# Every file under WORK, hidden ones too, with a digest of its bytes.
function(list_files out)
  file(GLOB_RECURSE files RELATIVE ${WORK} ${WORK}/* ${WORK}/.*)
  list(SORT files)
  set(listing "")
  foreach(f ${files})
    file(SHA256 ${WORK}/${f} digest)
    string(APPEND listing "${f} ${digest}\n")
  endforeach()
  set(${out} "${listing}" PARENT_SCOPE)
endfunction()

# Plays ROUTE in the editor on the level PATH; it must end back in the menu.
function(edit path route)
  execute_process(COMMAND ${REPLAY} --editor -map ${path} ${route} WORKING_DIRECTORY ${WORK}
                  RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT status EQUAL 0 OR NOT out MATCHES "result=menu")
    message(FATAL_ERROR "${route} on ${path} did not end in the menu (status ${status}): ${out}${err}")
  endif()
endfunction()

list_files(before)
edit(tested.map ${SOURCE}/tests/routes/editor_play_here_won.replay)
edit(new.map ${SOURCE}/tests/routes/editor_play_here_game_over.replay)
list_files(after)
if(NOT before STREQUAL after)
  message(FATAL_ERROR "a test played from the editor changed files:\nbefore:\n${before}after:\n${after}")
endif()

edit(tested.map ${SOURCE}/tests/routes/editor_play_here.replay)
edit(untested.map ${WORK}/save.replay)
execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${WORK}/tested.map ${WORK}/untested.map
                RESULT_VARIABLE differ)
if(NOT differ EQUAL 0)
  message(FATAL_ERROR "the level saved after a test differs from the one saved without it")
endif()

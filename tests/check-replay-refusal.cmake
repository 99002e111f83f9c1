# Runs the replay tool on a script it must refuse: it has to fail with a
# non-zero status and a message that matches EXPECT, without playing a step.
# With CONFIG it runs in WORK_DIR, whose data/ holds only that settings file.
if(DEFINED CONFIG)
  file(REMOVE_RECURSE ${WORK_DIR})
  configure_file(${CONFIG} ${WORK_DIR}/data/config.cfg COPYONLY)
  set(in_dir WORKING_DIRECTORY ${WORK_DIR})
endif()
execute_process(COMMAND ${REPLAY} ${SCRIPT} ${in_dir}
                RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(status EQUAL 0)
  message(FATAL_ERROR "the replay of ${SCRIPT} was not refused")
endif()
if(NOT err MATCHES "${EXPECT}")
  message(FATAL_ERROR "expected a message matching '${EXPECT}', got: ${err}")
endif()
if(out MATCHES "result=")
  message(FATAL_ERROR "the refused script was played: ${out}")
endif()

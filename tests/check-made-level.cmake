# Builds a level in the editor from a script: OUT is removed first, so the
# editor starts a new level, and after the run it must be exactly EXPECTED.
file(REMOVE ${OUT})
get_filename_component(dir ${OUT} DIRECTORY)
file(MAKE_DIRECTORY ${dir})
execute_process(COMMAND ${REPLAY} --editor -map ${OUT} ${SCRIPT}
                RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT status EQUAL 0 OR NOT out MATCHES "New map: [^\n]*\n.*Saving map\n.*result=menu")
  message(FATAL_ERROR "the editor did not make and save a new level (status ${status}): ${out}${err}")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${OUT} ${EXPECTED} RESULT_VARIABLE differ)
if(NOT differ EQUAL 0)
  message(FATAL_ERROR "the level made in the editor, ${OUT}, differs from ${EXPECTED}")
endif()

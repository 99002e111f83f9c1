# Regenerates every picture under assets/ and compares it byte for byte with
# the BMP committed beside the game's data: assets/gfx/NAME.txt belongs to
# data/gfx/NAME.bmp and assets/maps/NAME.txt to data/maps/NAME.bmp.
# EMULATOR, when set, runs an art tool built for another machine.
file(MAKE_DIRECTORY ${WORK_DIR})
set(failed 0)
foreach(kind gfx maps)
  file(GLOB pictures ${SOURCE_DIR}/assets/${kind}/*.txt)
  foreach(picture ${pictures})
    get_filename_component(name ${picture} NAME_WE)
    set(made ${WORK_DIR}/${name}.bmp)
    execute_process(COMMAND ${EMULATOR} ${PIXELART} ${picture} ${made} RESULT_VARIABLE rc)
    if(NOT rc EQUAL 0)
      message(SEND_ERROR "pixelart failed on ${picture}")
      set(failed 1)
      continue()
    endif()
    execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${made} ${SOURCE_DIR}/data/${kind}/${name}.bmp
                    RESULT_VARIABLE same)
    if(NOT same EQUAL 0)
      message(SEND_ERROR "data/${kind}/${name}.bmp is not what assets/${kind}/${name}.txt makes; run tools/make-art.sh")
      set(failed 1)
    endif()
  endforeach()
endforeach()
if(failed)
  message(FATAL_ERROR "art out of step with its sources")
endif()

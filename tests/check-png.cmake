# The art tool's PNG output, on the game's icon at scale 2: a 32x32 RGBA
# image whose one zlib block is stored, so its rows can be read here as the
# tool wrote them. The icon's corner is magenta (left clear) and its edge the
# sky's green, each source pixel a 2x2 block. The package test runs pngcheck
# on every icon for the checksums.
execute_process(COMMAND ${PIXELART} ${SOURCE_DIR}/assets/icons/kettlemoor.txt ${WORK_DIR}/icon.png 2
                RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "pixelart failed on the icon")
endif()
file(READ ${WORK_DIR}/icon.png png HEX)
# Byte offsets: the signature (8), IHDR (25), IDAT's length and type (8), the
# zlib header (2) and the stored block's header (5), then the rows of 1 + 32 * 4.
set(row_start "00" "00000000" "00000000" "9bbc0fff" "9bbc0fff")
string(JOIN "" row_start ${row_start})
set(expected
  0 "89504e470d0a1a0a0000000d49484452"
  16 "000000200000002008060000"
  41 "7801012010dfef"
  48 "${row_start}"
  177 "${row_start}")
while(expected)
  list(POP_FRONT expected offset bytes)
  math(EXPR at "${offset} * 2")
  string(LENGTH "${bytes}" length)
  string(SUBSTRING "${png}" ${at} ${length} found)
  if(NOT found STREQUAL bytes)
    message(FATAL_ERROR "icon.png at byte ${offset}: ${found}, expected ${bytes}")
  endif()
endwhile()

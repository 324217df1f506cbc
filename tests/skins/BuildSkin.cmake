# Builds one shipped skin from its sources: skingen draws the bitmaps beside a copy of the ini, and
# skinpack packs them.
#   MODE=check   the result must equal the committed SOURCE/SKIN.skn byte for byte
#   MODE=update  the result replaces the committed file
#   MODE=sheet   writes WORK/SKIN-contact-sheet.png instead
foreach(var SKINGEN SKINPACK SOURCE SKIN WORK MODE)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "BuildSkin.cmake needs -D${var}=...")
  endif()
endforeach()

set(ini ${SOURCE}/${SKIN}/${SKIN}.ini)
function(run)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "failed (${rc}): ${ARGN}")
  endif()
endfunction()

if(MODE STREQUAL "sheet")
  file(MAKE_DIRECTORY ${WORK})
  run(${SKINGEN} ${SKIN} ${ini} --contact-sheet ${WORK}/${SKIN}-contact-sheet.bmp)
  find_program(CONVERT convert REQUIRED)
  run(${CONVERT} ${WORK}/${SKIN}-contact-sheet.bmp ${WORK}/${SKIN}-contact-sheet.png)
  file(REMOVE ${WORK}/${SKIN}-contact-sheet.bmp)
  message(STATUS "contact sheet: ${WORK}/${SKIN}-contact-sheet.png")
  return()
endif()

file(REMOVE_RECURSE ${WORK})
run(${SKINGEN} ${SKIN} ${ini} ${WORK})
run(${SKINPACK} ${WORK}/${SKIN}.ini ${WORK}/${SKIN}.skn)
if(MODE STREQUAL "update")
  file(COPY_FILE ${WORK}/${SKIN}.skn ${SOURCE}/${SKIN}.skn ONLY_IF_DIFFERENT)
  message(STATUS "wrote ${SOURCE}/${SKIN}.skn")
elseif(MODE STREQUAL "check")
  execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${WORK}/${SKIN}.skn ${SOURCE}/${SKIN}.skn
                  RESULT_VARIABLE differs)
  if(differs)
    message(FATAL_ERROR "${SOURCE}/${SKIN}.skn is not what skingen and skinpack make now from "
                        "${ini}; rebuild it with the regenerate-skins target and commit it")
  endif()
else()
  message(FATAL_ERROR "unknown MODE ${MODE}")
endif()

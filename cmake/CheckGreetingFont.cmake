# Runs the greeting's typeface generator and compares its output with the committed table:
#   cmake -DGENERATOR=... -DFONT=... -DTABLE=... -DOUT=... -P CheckGreetingFont.cmake
execute_process(COMMAND ${GENERATOR} ${FONT} OUTPUT_FILE ${OUT} RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "${GENERATOR} failed (${status}) on ${FONT}")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${OUT} ${TABLE} RESULT_VARIABLE differ)
if(NOT differ EQUAL 0)
  message(FATAL_ERROR "${TABLE} is not what the generator makes from ${FONT} (its output is in "
    "${OUT}). Regenerate the table with the command at the top of tools/make_greeting_font.cpp "
    "and commit it with the golden cards it changes.")
endif()

# Runs at build time: asks varn for its command description and turns it into
# the manual page. Variables: VARN, VARN_MAN, DESCRIPTION (where the
# description is kept), OUTPUT, SOURCE.
get_filename_component(directory ${OUTPUT} DIRECTORY)
file(MAKE_DIRECTORY ${directory})
execute_process(COMMAND ${VARN} --experimental-dump-help
                OUTPUT_FILE ${DESCRIPTION} RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "${VARN} --experimental-dump-help failed: ${status}")
endif()
execute_process(COMMAND ${VARN_MAN} --source ${SOURCE} --output ${OUTPUT} ${DESCRIPTION} RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "varn-man could not write ${OUTPUT}: ${status}")
endif()

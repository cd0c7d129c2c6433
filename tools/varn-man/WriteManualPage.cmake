# Runs at build time: asks varn for its command description and turns it into
# the manual page. Variables: VARN, VARN_MAN, OUTPUT, SOURCE.
get_filename_component(directory ${OUTPUT} DIRECTORY)
file(MAKE_DIRECTORY ${directory})
set(description ${OUTPUT}.json)
execute_process(COMMAND ${VARN} --experimental-dump-help
                OUTPUT_FILE ${description} RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "${VARN} --experimental-dump-help failed: ${status}")
endif()
execute_process(COMMAND ${VARN_MAN} --source ${SOURCE} --output ${OUTPUT} ${description} RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "varn-man could not write ${OUTPUT}: ${status}")
endif()

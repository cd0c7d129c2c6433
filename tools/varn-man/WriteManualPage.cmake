# Runs at build time: asks varn for its command description and turns it into
# the manual page, then compresses a copy. Variables: VARN, VARN_MAN,
# DESCRIPTION (where the description is kept), OUTPUT, SOURCE, DATE, GZIP.
get_filename_component(directory ${OUTPUT} DIRECTORY)
file(MAKE_DIRECTORY ${directory})
execute_process(COMMAND ${VARN} --experimental-dump-help
                OUTPUT_FILE ${DESCRIPTION} RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "${VARN} --experimental-dump-help failed: ${status}")
endif()
execute_process(COMMAND ${VARN_MAN} --source ${SOURCE} --date ${DATE} --output ${OUTPUT} ${DESCRIPTION}
                RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "varn-man could not write ${OUTPUT}: ${status}")
endif()
# Written beside and renamed, like the page, so that no half-written copy is
# installed.
execute_process(COMMAND ${GZIP} -9 -n -c ${OUTPUT} OUTPUT_FILE ${OUTPUT}.gz.part RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  file(REMOVE ${OUTPUT}.gz.part)
  message(FATAL_ERROR "${GZIP} could not compress ${OUTPUT}: ${status}")
endif()
file(RENAME ${OUTPUT}.gz.part ${OUTPUT}.gz)

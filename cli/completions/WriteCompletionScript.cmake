# Runs at build time: asks varn for one shell's completion script. The script
# is written beside its destination and renamed into place only once varn has
# succeeded, so a failed run leaves no half-written script behind to be
# installed. Variables: VARN, SHELL_NAME, OUTPUT.
get_filename_component(directory ${OUTPUT} DIRECTORY)
file(MAKE_DIRECTORY ${directory})
set(partial ${OUTPUT}.part)
# The script depends on the declarations alone; keep the tool's own
# environment variables from adding anything to what it prints.
unset(ENV{VARNEL_HOME})
unset(ENV{VARNEL_VERBOSE})
execute_process(COMMAND ${VARN} --generate-completion-script ${SHELL_NAME}
                OUTPUT_FILE ${partial} ERROR_VARIABLE errors RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  file(REMOVE ${partial})
  message(FATAL_ERROR "${VARN} --generate-completion-script ${SHELL_NAME} failed (${status}): ${errors}")
endif()
file(SIZE ${partial} size)
if(size EQUAL 0)
  file(REMOVE ${partial})
  message(FATAL_ERROR "${VARN} --generate-completion-script ${SHELL_NAME} printed nothing")
endif()
# bash-completion sources the script, never runs it: the installed copy
# goes without the first line, which says it is a program of its own.
if(SHELL_NAME STREQUAL "bash")
  file(READ ${partial} script)
  string(REGEX REPLACE "^#![^\n]*\n\n?" "" script "${script}")
  file(WRITE ${partial} "${script}")
endif()
file(RENAME ${partial} ${OUTPUT})

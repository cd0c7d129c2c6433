# Run by CPack (CPACK_PRE_BUILD_SCRIPTS) on the staged package, after the
# programs were stripped: takes out of every program the sections Debian's
# own packages go without (as dh_strip does), the compilers' .comment and the
# .note section, neither of which a program needs to run.
file(GLOB_RECURSE files LIST_DIRECTORIES false "${CPACK_TEMPORARY_INSTALL_DIRECTORY}/*")
foreach(file ${files})
  if(IS_SYMLINK "${file}")
    continue()
  endif()
  file(READ "${file}" magic LIMIT 4 HEX)
  if(magic STREQUAL "7f454c46")
    execute_process(COMMAND ${CPACK_VARN_STRIP} --remove-section=.comment --remove-section=.note "${file}"
                    RESULT_VARIABLE status)
    if(NOT status EQUAL 0)
      message(FATAL_ERROR "${CPACK_VARN_STRIP} could not remove the unneeded sections of ${file}")
    endif()
  endif()
endforeach()

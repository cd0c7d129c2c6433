# cmake/TextOrder.ld names the code varn runs first by object and mangled
# function name, and GNU ld passes over an entry that names nothing: after a
# rename, or with another compiler or C library, the list goes stale without
# a sign, and varn only starts slower. The static link writes a map beside
# each program, and this test reads varn's: it fails, naming the cause, when
# less than 95 % of the list placed a section (scripts/check-text-order).
if(VARN_STATIC_LINK AND VARN_BUILD_TESTS)
  add_test(NAME TextOrder.NamesVarnsCode
           COMMAND ${PROJECT_SOURCE_DIR}/scripts/check-text-order $<TARGET_FILE:varn>.map)
endif()

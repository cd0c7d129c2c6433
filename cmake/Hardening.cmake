# Hardening of the project's own code, whatever flags a packager brings:
# the stack protector, fortified C library calls, stack-clash probes and
# control-flow protection where the compiler has them. varn runs on file
# names and command lines that git and the user's repository hand it.
include(CheckCXXCompilerFlag)
include(CheckPIESupported)

set(VARN_HARDENING_OPTIONS)
foreach(flag -fstack-protector-strong -fstack-clash-protection -fcf-protection)
  string(MAKE_C_IDENTIFIER "VARN_HAS${flag}" result)
  check_cxx_compiler_flag(${flag} ${result})
  if(${result})
    list(APPEND VARN_HARDENING_OPTIONS ${flag})
  endif()
endforeach()

# Fortified calls need the optimiser to learn the sizes of objects: without
# it they check nothing, and the C library warns about each file, so a Debug
# build goes without. Level 2 is what the distribution's flags give; a level
# the flags set already is theirs to choose. Sanitizers check every access
# themselves, and the fortified variants would hide some of them.
set(flags "${CMAKE_CXX_FLAGS} ${CMAKE_C_FLAGS}")
if(NOT flags MATCHES "_FORTIFY_SOURCE" AND NOT flags MATCHES "-fsanitize")
  list(APPEND VARN_HARDENING_OPTIONS $<$<NOT:$<CONFIG:Debug>>:-D_FORTIFY_SOURCE=2>)
endif()
unset(flags)
unset(result)

# Linked dynamically, the programs are position-independent, so the loader
# places their code at a random address too, and (ELF) bind every symbol
# before they start, so the relocated tables can be made read-only. The
# static link stays at a fixed address: see varn_link_statically.
if(NOT VARN_STATIC_LINK)
  check_pie_supported()
  set(CMAKE_POSITION_INDEPENDENT_CODE ON)
  if(NOT APPLE)
    add_link_options($<$<STREQUAL:$<TARGET_PROPERTY:TYPE>,EXECUTABLE>:LINKER:-z,relro,-z,now>)
  endif()
endif()

function(varn_harden target)
  target_compile_options(${target} PRIVATE ${VARN_HARDENING_OPTIONS})
endfunction()

# Warnings (errors with VARN_WERROR) on our own targets only; sanitizers come
# from the preset.
function(varn_target_defaults target)
  # Declarations use designated initializers that leave defaulted fields out.
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wno-missing-field-initializers)
  if(VARN_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
  # Every function and object in a section of its own, so that the linker
  # can leave out whatever a program never reaches.
  target_compile_options(${target} PRIVATE -ffunction-sections -fdata-sections)
  # Optimised for size: a run of varn is over in a few hundred thousand
  # instructions, and what it costs is mostly the pages it reads in, so code
  # half the size starts faster than code tuned for speed. A library that
  # does the heavy work of a run may ask for speed after this (the shared
  # records do, in shared/CMakeLists.txt): the later option wins.
  target_compile_options(${target} PRIVATE $<$<NOT:$<CONFIG:Debug>>:-Os>)
  varn_harden(${target})
  target_include_directories(${target} PUBLIC $<BUILD_INTERFACE:${PROJECT_SOURCE_DIR}>)
endfunction()

function(varn_library name)
  add_library(${name} STATIC ${ARGN})
  varn_target_defaults(${name})
endfunction()

# A program keeps only the code and data it can reach: varn starts by
# reading fewer pages and ships smaller.
function(varn_executable name)
  add_executable(${name} ${ARGN})
  varn_target_defaults(${name})
  target_link_options(${name} PRIVATE -Wl,--gc-sections)
endfunction()

# The programs a user's shell or git starts over and over link statically
# when VARN_STATIC_LINK is on: the loader has nothing to map or relocate.
# Not position-independent: a static PIE relocates itself at every start,
# a quarter more instructions and page faults for `varn --help`, which would
# put it behind a dynamically linked C program that does nothing; the price
# is an image at a fixed address (the stack, heap and mappings stay
# randomised). The C library warns at link time about each function that
# loads its modules at run time (the user database, name resolution,
# dlopen), which a static program cannot do safely; such a warning fails the
# link.
#
# The code runs execute comes first in the text, in the order
# cmake/TextOrder.ld lists it (scripts/order-text writes it): the kernel
# maps code 64 KB at a time, and a run of `varn --help` that reached into
# 15 such windows reaches into a handful.
function(varn_link_statically target)
  if(VARN_STATIC_LINK)
    set(order ${PROJECT_SOURCE_DIR}/cmake/TextOrder.ld)
    target_link_options(${target} PRIVATE -static -Wl,--fatal-warnings -Wl,-T,${order})
    set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS ${order})
    # A map of the link beside the program, where the order is checked.
    target_link_options(${target} PRIVATE -Wl,-Map,$<TARGET_FILE:${target}>.map)
  endif()
endfunction()

# The test that the order still names varn's code.
include(${CMAKE_CURRENT_LIST_DIR}/TextOrderCheck.cmake)

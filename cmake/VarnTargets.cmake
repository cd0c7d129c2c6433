# Warnings are errors on our own targets only; sanitizers come from the preset.
function(varn_target_defaults target)
  # Declarations use designated initializers that leave defaulted fields out.
  target_compile_options(${target} PRIVATE -Wall -Wextra -Werror -Wno-missing-field-initializers)
  target_include_directories(${target} PUBLIC ${PROJECT_SOURCE_DIR})
endfunction()

function(varn_library name)
  add_library(${name} STATIC ${ARGN})
  varn_target_defaults(${name})
endfunction()

function(varn_executable name)
  add_executable(${name} ${ARGN})
  varn_target_defaults(${name})
endfunction()

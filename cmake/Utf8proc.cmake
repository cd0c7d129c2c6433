# utf8proc::utf8proc, the Unicode library the framework breaks text with.
# utf8proc ships no CMake package of its own in Debian. With UTF8PROC_STATIC
# on, its static archive (for a program linked statically), else the shared
# library where there is one. Used by the build and by the installed
# ArgumentParser package alike.
if(NOT TARGET utf8proc::utf8proc)
  find_path(UTF8PROC_INCLUDE_DIR utf8proc.h REQUIRED)
  if(UTF8PROC_STATIC)
    find_library(UTF8PROC_ARCHIVE NAMES libutf8proc.a REQUIRED)
    set(library ${UTF8PROC_ARCHIVE})
  else()
    # The archive only where no shared library is installed.
    find_library(UTF8PROC_SHARED_LIBRARY NAMES utf8proc REQUIRED)
    set(library ${UTF8PROC_SHARED_LIBRARY})
  endif()
  add_library(utf8proc::utf8proc UNKNOWN IMPORTED)
  set_target_properties(utf8proc::utf8proc PROPERTIES
    IMPORTED_LOCATION "${library}"
    INTERFACE_INCLUDE_DIRECTORIES "${UTF8PROC_INCLUDE_DIR}")
  if(UTF8PROC_STATIC)
    set_property(TARGET utf8proc::utf8proc PROPERTY INTERFACE_COMPILE_DEFINITIONS UTF8PROC_STATIC)
  endif()
  unset(library)
endif()

# Where an installation puts what varn needs besides itself. Paths relative
# to the prefix, as GNUInstallDirs gives them, so that
# `cmake --install BUILD --prefix DIR` moves everything together.

# What the tool needs at run time is the component "varn"; the framework's
# library and the package's own files say otherwise.
set(CMAKE_INSTALL_DEFAULT_COMPONENT_NAME varn)

# The launcher varn starts on Linux is no command of its own: it goes with
# the other programs that only other programs run.
set(VARN_INSTALL_LAUNCHERDIR "${CMAKE_INSTALL_LIBEXECDIR}/varn" CACHE STRING
  "Where varnel-open is installed, relative to the prefix (or absolute)")

# varn finds the launcher from its own directory, through the relative path
# between the two installed directories, compiled in: wherever the prefix
# ends up, the path between them stays the same.
function(varn_installed_path result directory)
  if(IS_ABSOLUTE "${directory}")
    set(${result} "${directory}" PARENT_SCOPE)
  else()
    set(${result} "${CMAKE_INSTALL_PREFIX}/${directory}" PARENT_SCOPE)
  endif()
endfunction()
varn_installed_path(bindir "${CMAKE_INSTALL_BINDIR}")
varn_installed_path(launcherdir "${VARN_INSTALL_LAUNCHERDIR}")
cmake_path(RELATIVE_PATH launcherdir BASE_DIRECTORY "${bindir}" OUTPUT_VARIABLE VARN_LAUNCHER_FROM_BINDIR)
unset(bindir)
unset(launcherdir)

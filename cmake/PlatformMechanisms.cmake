# The mechanism behind each operating-system service that differs between
# systems, one cache variable a service, and the source that implements each
# choice. Every system gets a default; any choice its C library and kernel
# offer may be asked for instead (the `posix` preset builds, on Linux, the
# portable ones macOS uses). A service's sources are named by mechanism, not
# by system, so that a new system picks from this table, or adds a row.
#
# varn_mechanism(VARIABLE LIBRARY target DEFAULT value APPLE value DOC text
#                CHOICES value source [value source ...])
# sets VARIABLE (a cache variable, offered as its choices) and appends the
# chosen source, relative to the top directory, to VARN_MECHANISM_SOURCES_<target>.
function(varn_mechanism variable)
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "LIBRARY;DEFAULT;APPLE;DOC" "CHOICES")
  set(default ${arg_DEFAULT})
  if(APPLE)
    set(default ${arg_APPLE})
  endif()
  set(${variable} ${default} CACHE STRING "${arg_DOC}")
  set(values)
  set(chosen)
  set(choices ${arg_CHOICES})
  while(choices)
    list(POP_FRONT choices value source)
    list(APPEND values ${value})
    if(value STREQUAL "${${variable}}")
      set(chosen ${PROJECT_SOURCE_DIR}/${source})
    endif()
  endwhile()
  set_property(CACHE ${variable} PROPERTY STRINGS ${values})
  if(NOT chosen)
    list(JOIN values ", " offered)
    message(FATAL_ERROR "${variable} is \"${${variable}}\"; it takes one of: ${offered}")
  endif()
  set(list VARN_MECHANISM_SOURCES_${arg_LIBRARY})
  set(${list} ${${list}} ${chosen} PARENT_SCOPE)
endfunction()

varn_mechanism(VARN_DIRECTORY_WATCHER LIBRARY VarnPlatform DEFAULT inotify APPLE kqueue
  DOC "How a directory held open is watched for changed entries"
  CHOICES inotify platform/DirectoryWatcherInotify.cpp
          kqueue  platform/DirectoryWatcherKqueue.cpp)
varn_mechanism(VARN_PIPE LIBRARY VarnPlatform DEFAULT pipe2 APPLE fcntl
  DOC "How a pipe's ends are made close-on-exec: as the pipe is made (pipe2), or right after (fcntl)"
  CHOICES pipe2 platform/PipePipe2.cpp
          fcntl platform/PipeFcntl.cpp)
varn_mechanism(VARN_PROCESS_TABLE LIBRARY VarnPlatform DEFAULT procfs APPLE sysctl
  DOC "Where the executable's path and other processes' parents and arguments are read"
  CHOICES procfs platform/ProcessInfoProcfs.cpp
          sysctl platform/ProcessInfoSysctl.cpp)
varn_mechanism(VARN_RANDOM_BYTES LIBRARY VarnPlatform DEFAULT getrandom APPLE arc4random
  DOC "Where random bytes come from: getrandom (or /dev/urandom), or arc4random_buf"
  CHOICES getrandom  platform/RandomBytesGetrandom.cpp
          arc4random platform/RandomBytesArc4random.cpp)
varn_mechanism(VARN_REPLACE_ENTRY LIBRARY VarnPlatform DEFAULT renameat2 APPLE renameat
  DOC "How a written file replaces another: exchanged with renameat2 and removed, or renamed over it"
  CHOICES renameat2 platform/ReplaceEntryRenameat2.cpp
          renameat  platform/ReplaceEntryRenameat.cpp)
varn_mechanism(VARN_TEMPORARY_DIRECTORY LIBRARY VarnPlatform DEFAULT tmpdir APPLE confstr
  DOC "The per-user temporary directory: from TMPDIR or below /tmp, or the one confstr hands out"
  CHOICES tmpdir  platform/TemporaryDirectoryTmpdir.cpp
          confstr platform/TemporaryDirectoryConfstr.cpp)
varn_mechanism(VARN_USER_DATABASE LIBRARY VarnPlatform DEFAULT password-file APPLE getpw
  DOC "How home directories are looked up: the password file then getent, or the C library's getpw*_r"
  CHOICES password-file platform/UserDatabasePasswordFile.cpp
          getpw         platform/UserDatabaseGetpw.cpp)
varn_mechanism(VARN_LAUNCHER LIBRARY VarnCLI DEFAULT stand-in APPLE system
  DOC "The launcher that hands work to the application: the stand-in varnel-open, or /usr/bin/open"
  CHOICES stand-in cli/RunOpenStandIn.cpp
          system   cli/RunOpenSystem.cpp)

# A static C library cannot load the name-service modules getpw*_r need at
# run time; the link would fail on the C library's warning.
if(VARN_STATIC_LINK AND VARN_USER_DATABASE STREQUAL "getpw")
  message(FATAL_ERROR "VARN_USER_DATABASE=getpw needs a dynamic link: add -DVARN_STATIC_LINK=OFF")
endif()

# Installs the custom-control libraries and the keyboard hook library
# (VELCRUM_CONTROL_LIBRARIES, set by the install rule that runs this script) into the
# runtime's default system directory, c:\windows, as the path mapping resolves it at
# install time for the user who installs:
# $VELCRUM_DRIVE_C, else $VELCRUM_ROOT/drive_c, else ~/.local/share/velcrum/drive_c; an
# existing "windows" directory there is found without regard to case, as the runtime
# finds it. $DESTDIR, when set, is put in front, as for every other installed file.

cmake_policy(PUSH)
cmake_policy(SET CMP0054 NEW)

set(drive "$ENV{VELCRUM_DRIVE_C}")
if(drive STREQUAL "")
  set(root "$ENV{VELCRUM_ROOT}")
  if(root STREQUAL "")
    set(root "$ENV{HOME}/.local/share/velcrum")
  endif()
  string(REGEX REPLACE "(.)/+$" "\\1" root "${root}")
  set(drive "${root}/drive_c")
endif()
string(REGEX REPLACE "(.)/+$" "\\1" drive "${drive}")

# The exact name when it exists, else the first entry in name order that matches
# without regard to case, else the name as written.
set(windowsName "windows")
if(NOT IS_DIRECTORY "${drive}/windows" AND IS_DIRECTORY "${drive}")
  file(GLOB entries LIST_DIRECTORIES true RELATIVE "${drive}" "${drive}/*")
  list(SORT entries)
  foreach(entry IN LISTS entries)
    string(TOLOWER "${entry}" lower)
    if(lower STREQUAL "windows")
      set(windowsName "${entry}")
      break()
    endif()
  endforeach()
endif()

set(destination "$ENV{DESTDIR}${drive}/${windowsName}")
file(INSTALL ${VELCRUM_CONTROL_LIBRARIES} DESTINATION "${destination}"
     FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
                      WORLD_READ WORLD_EXECUTE)

cmake_policy(POP)

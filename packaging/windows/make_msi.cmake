# Makes the Windows installer with wixl (Debian package wixl) from zorvan-flasher.wxs:
#   cmake -DMSI=out.msi -DVERSION=1.0.0 -DWXS=zorvan-flasher.wxs -DICON=program.ico
#         -DTEXT=README.txt -DWINDOW=zorvan-flasher.exe -DCOMMAND_LINE=zorvan-flash.exe
#         -P make_msi.cmake
include(${CMAKE_CURRENT_LIST_DIR}/require_programs.cmake)
zorvan_require_programs("The Windows installer" "${WINDOW}" "${COMMAND_LINE}")

# Windows Installer compares the first three parts of a product's version, each at most
# 255.255.65535, to tell an upgrade: a version outside that would install beside the
# one it should replace.
if(NOT VERSION MATCHES "^([0-9]+)\\.([0-9]+)\\.([0-9]+)$"
   OR CMAKE_MATCH_1 GREATER 255 OR CMAKE_MATCH_2 GREATER 255 OR CMAKE_MATCH_3 GREATER 65535)
  message(FATAL_ERROR "The Windows installer's version is MAJOR.MINOR.PATCH, at most "
                      "255.255.65535, not \"${VERSION}\".")
endif()

find_program(WIXL wixl)
if(NOT WIXL)
  message(FATAL_ERROR "The Windows installer is made by wixl: install the Debian package wixl "
                      "(./run installs it as root).")
endif()

# wixl finds the files it packs by names relative to the folder it runs in (an absolute
# path it refuses), so they are gathered, under the names the source gives them.
get_filename_component(msi_folder "${MSI}" DIRECTORY)
get_filename_component(msi_name "${MSI}" NAME)
set(stage "${msi_folder}/.stage-${msi_name}")
file(REMOVE_RECURSE "${stage}" "${MSI}")
file(MAKE_DIRECTORY "${stage}")
file(COPY_FILE "${WINDOW}" "${stage}/zorvan-flasher.exe")
file(COPY_FILE "${COMMAND_LINE}" "${stage}/zorvan-flash.exe")
file(COPY_FILE "${TEXT}" "${stage}/README.txt")
file(COPY_FILE "${ICON}" "${stage}/program.ico")
execute_process(COMMAND "${WIXL}" --arch x64 --define "Version=${VERSION}" --output "${MSI}" "${WXS}"
                WORKING_DIRECTORY "${stage}" RESULT_VARIABLE status)
file(REMOVE_RECURSE "${stage}")
if(NOT status EQUAL 0)
  file(REMOVE "${MSI}")
  message(FATAL_ERROR "The Windows installer ${MSI} could not be made (wixl: ${status}).")
endif()
message(STATUS "Made ${MSI}")

# Makes the Windows zip: FOLDER/ with each of PROGRAMS and TEXT (as README.txt) in it.
#   cmake -DZIP=out.zip -DFOLDER=name -DTEXT=README.txt "-DPROGRAMS=a.exe;b.exe" -P make_zip.cmake
include(${CMAKE_CURRENT_LIST_DIR}/require_programs.cmake)
zorvan_require_programs("The Windows zip" ${PROGRAMS})

get_filename_component(zip_folder "${ZIP}" DIRECTORY)
set(stage "${zip_folder}/.stage-${FOLDER}")
file(REMOVE_RECURSE "${stage}" "${ZIP}")
file(MAKE_DIRECTORY "${stage}/${FOLDER}")
file(COPY ${PROGRAMS} DESTINATION "${stage}/${FOLDER}")
file(COPY_FILE "${TEXT}" "${stage}/${FOLDER}/README.txt")
execute_process(COMMAND "${CMAKE_COMMAND}" -E tar cf "${ZIP}" --format=zip "${FOLDER}"
                WORKING_DIRECTORY "${stage}" RESULT_VARIABLE status)
file(REMOVE_RECURSE "${stage}")
if(NOT status EQUAL 0)
  file(REMOVE "${ZIP}")
  message(FATAL_ERROR "The Windows zip ${ZIP} could not be made (${status}).")
endif()
message(STATUS "Made ${ZIP}")

# cmake -DDATA_DIR=<folder> -DSTAGE_DIR=<folder> -DUDEV_RULE=<file> -P StageDataArchive.cmake
#
# Prepares the content of the data archive in STAGE_DIR: the payload's data folder, the udev
# rule made from the build's USB identifiers (SharedData/999-usb.rules), and the cache folders
# that the install schema copies (empty when the payload carries no caches). Files are hard
# links to the payload where the file system allows it, so a large payload is not copied.
foreach(variable DATA_DIR STAGE_DIR UDEV_RULE)
  if(NOT DEFINED ${variable})
    message(FATAL_ERROR "StageDataArchive.cmake: ${variable} is not given")
  endif()
endforeach()
if(NOT IS_DIRECTORY "${DATA_DIR}")
  message(FATAL_ERROR "The payload's data folder \"${DATA_DIR}\" does not exist")
endif()

file(REMOVE_RECURSE "${STAGE_DIR}")
execute_process(COMMAND cp -al "${DATA_DIR}" "${STAGE_DIR}" RESULT_VARIABLE linked
                ERROR_QUIET)
if(NOT linked EQUAL 0)
  file(REMOVE_RECURSE "${STAGE_DIR}")
  execute_process(COMMAND cp -a "${DATA_DIR}" "${STAGE_DIR}" RESULT_VARIABLE copied)
  if(NOT copied EQUAL 0)
    message(FATAL_ERROR "Cannot copy \"${DATA_DIR}\" to \"${STAGE_DIR}\"")
  endif()
endif()

file(MAKE_DIRECTORY "${STAGE_DIR}/SharedData/wine" "${STAGE_DIR}/SharedData/winetricks")
# Remove first: the staged file may be a hard link to a file of the payload.
file(REMOVE "${STAGE_DIR}/SharedData/999-usb.rules")
file(COPY_FILE "${UDEV_RULE}" "${STAGE_DIR}/SharedData/999-usb.rules")

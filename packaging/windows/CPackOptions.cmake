# Settings that differ between the two Windows packages, read by CPack for each generator.
if(CPACK_GENERATOR STREQUAL "NSIS")
  set(CPACK_PACKAGE_FILE_NAME "${CPACK_PACKAGE_FILE_NAME}-setup")
elseif(CPACK_GENERATOR STREQUAL "ZIP")
  set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
endif()

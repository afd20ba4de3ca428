# Read by CPack for each generator (CPACK_PROJECT_CONFIG_FILE): the .deb leaves out the
# component "tarball" (the full licence texts, which a Debian system has in
# /usr/share/common-licenses).
if(CPACK_GENERATOR STREQUAL "DEB")
  set(CPACK_INSTALL_CMAKE_PROJECTS "${CPACK_USBWIZ_BINARY_DIR};${CPACK_USBWIZ_PROJECT_NAME};Unspecified;/")
endif()

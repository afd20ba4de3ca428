# Gives a Windows program the project's version as a version resource (Explorer's Details tab).
function(usbwiz_add_version_resource target description)
  set(USBWIZ_RC_NAME "${target}")
  set(USBWIZ_RC_FILE "${target}.exe")
  set(USBWIZ_RC_DESCRIPTION "${description}")
  set(rc "${CMAKE_CURRENT_BINARY_DIR}/generated/${target}-version.rc")
  configure_file("${PROJECT_SOURCE_DIR}/cmake/VersionResource.rc.in" "${rc}" @ONLY)
  target_sources(${target} PRIVATE "${rc}")
endfunction()

# The release files of a release build (USBWIZ_RELEASE), made by CPack into the build folder:
#   Windows: UsbDriverWizard-<version>-win64.zip (the two programs, README.txt, LICENSE.txt,
#            THIRD-PARTY-NOTICES.txt, SHA256SUMS)
#   Linux:   usbdrvgen_<version>_amd64.deb and usbdrvgen-<version>-linux-x86_64.tar.gz
# Stage.cmake finishes the staged files, Normalize.cmake makes the archives reproducible.
set(texts "${PROJECT_BINARY_DIR}/packaging")
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

# The notices name the carried files the way `usbdrvgen --payloads` lists them.
file(READ "${USBWIZ_PAYLOAD_LISTING}" USBWIZ_PAYLOAD_LISTING_TEXT)
# A release with stand-ins (payload/CMakeLists.txt decides) says so wherever a maker looks first:
# the file names, the READMEs' first lines, the .deb's description, and the programs' --version.
if(USBWIZ_STAND_IN_MARK)
  set(USBWIZ_PAYLOAD_ORIGIN
      "stand-ins (payload/stand-ins),\n   not the real driver files: this build is not for makers")
  set(USBWIZ_RELEASE_NAME_VERSION "${PROJECT_VERSION}-standins")
  set(USBWIZ_STAND_IN_NOTICE
      "*** ${USBWIZ_STAND_IN_MARK} ***\n"
      "The driver and program files carried here are stand-ins (small placeholders\n"
      "under the real names), not Vexmor's files: the packages written with them\n"
      "install no driver. A release for makers carries the real files.\n\n")
  string(JOIN "" USBWIZ_STAND_IN_NOTICE ${USBWIZ_STAND_IN_NOTICE})
  message(WARNING "The release files carry the stand-in payloads; give the real files with "
                  "-DUSBWIZ_PAYLOAD_DIR (scripts/release.sh --payload-dir).")
else()
  set(USBWIZ_PAYLOAD_ORIGIN "the payload folder given to the build")
  set(USBWIZ_RELEASE_NAME_VERSION "${PROJECT_VERSION}")
  set(USBWIZ_STAND_IN_NOTICE "")
endif()
string(TIMESTAMP USBWIZ_RELEASE_DATE "%a, %d %b %Y %H:%M:%S +0000" UTC)

set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_VENDOR "the USB Driver Wizard authors")
set(CPACK_PRE_BUILD_SCRIPTS "${PROJECT_SOURCE_DIR}/packaging/Stage.cmake")
set(CPACK_POST_BUILD_SCRIPTS "${PROJECT_SOURCE_DIR}/packaging/Normalize.cmake")
set(CPACK_PROJECT_CONFIG_FILE "${PROJECT_SOURCE_DIR}/packaging/Generators.cmake")
set(CPACK_USBWIZ_SOURCE_DIR "${PROJECT_SOURCE_DIR}")
set(CPACK_USBWIZ_BINARY_DIR "${PROJECT_BINARY_DIR}")
set(CPACK_USBWIZ_PROJECT_NAME "${PROJECT_NAME}")
set(CPACK_USBWIZ_OBJCOPY "${CMAKE_OBJCOPY}")
set(CPACK_USBWIZ_OBJDUMP "${CMAKE_OBJDUMP}")
set(CPACK_SOURCE_GENERATOR "")

if(WIN32)
  set(USBWIZ_MINGW_COPYRIGHT_FILE "/usr/share/doc/mingw-w64-x86-64-dev/copyright" CACHE FILEPATH
      "The mingw-w64 runtime's copyright and licence notices, for THIRD-PARTY-NOTICES.txt")
  file(READ "${USBWIZ_MINGW_COPYRIGHT_FILE}" USBWIZ_MINGW_COPYRIGHT)
  # Read on Windows: lines end in CR LF.
  foreach(text README.txt THIRD-PARTY-NOTICES.txt)
    configure_file("${PROJECT_SOURCE_DIR}/packaging/windows/${text}.in" "${texts}/${text}" @ONLY
                   NEWLINE_STYLE CRLF)
  endforeach()
  configure_file("${PROJECT_SOURCE_DIR}/LICENSE" "${texts}/LICENSE.txt" @ONLY NEWLINE_STYLE CRLF)

  install(TARGETS UsbDriverWizard usbdrvgen RUNTIME DESTINATION .)
  install(FILES "${texts}/README.txt" "${texts}/LICENSE.txt" "${texts}/THIRD-PARTY-NOTICES.txt"
          DESTINATION .)
  set(CPACK_GENERATOR ZIP)
  set(CPACK_PACKAGE_NAME UsbDriverWizard)
  set(CPACK_PACKAGE_FILE_NAME "UsbDriverWizard-${USBWIZ_RELEASE_NAME_VERSION}-win64")
else()
  set(USBWIZ_DEB_MAINTAINER "the USB Driver Wizard authors <usb-driver-wizard@example.org>"
      CACHE STRING "Maintainer field and changelog signature of the .deb (Name <address>)")
  # The copyright file is Debian's machine-readable format: continuation lines start with a
  # blank, and an empty line is a " .".
  file(READ "${PROJECT_SOURCE_DIR}/LICENSE" mit)
  string(REGEX MATCH "Copyright \\(c\\) ([^\n]*)" line "${mit}")
  set(USBWIZ_COPYRIGHT "${CMAKE_MATCH_1}")
  string(FIND "${mit}" "Permission" start)
  string(SUBSTRING "${mit}" ${start} -1 mit)
  string(STRIP "${mit}" mit)
  string(REPLACE "\n\n" "\n.\n" mit "${mit}")
  string(REPLACE "\n" "\n " USBWIZ_MIT_TEXT " ${mit}")
  string(STRIP "${USBWIZ_PAYLOAD_LISTING_TEXT}" listing)
  string(REPLACE "\n" "\n  " USBWIZ_PAYLOAD_LISTING_COMMENT "  ${listing}")
  string(REPLACE "\n   " "\n " USBWIZ_PAYLOAD_ORIGIN "${USBWIZ_PAYLOAD_ORIGIN}")
  find_package(OpenSSL REQUIRED COMPONENTS Crypto)
  foreach(text README copyright changelog)
    configure_file("${PROJECT_SOURCE_DIR}/packaging/linux/${text}.in" "${texts}/${text}" @ONLY)
  endforeach()
  execute_process(COMMAND gzip -9nf "${texts}/changelog" COMMAND_ERROR_IS_FATAL ANY)

  install(TARGETS usbdrvgen RUNTIME DESTINATION bin)
  install(FILES "${PROJECT_BINARY_DIR}/cli/usbdrvgen.1.gz" DESTINATION share/man/man1)
  install(FILES "${texts}/README" "${texts}/copyright" "${texts}/changelog.gz"
          DESTINATION share/doc/usbdrvgen)
  # Apache-2.0 asks that the licence travel with the program; the .deb points to the copy every
  # Debian system has instead (Generators.cmake leaves this component out).
  install(FILES /usr/share/common-licenses/Apache-2.0 DESTINATION share/doc/usbdrvgen
          COMPONENT tarball)

  set(CPACK_GENERATOR "DEB;TGZ")
  set(CPACK_PACKAGE_NAME usbdrvgen)
  set(CPACK_PACKAGE_FILE_NAME "usbdrvgen-${USBWIZ_RELEASE_NAME_VERSION}-linux-x86_64")
  set(CPACK_DEBIAN_FILE_NAME "usbdrvgen_${USBWIZ_RELEASE_NAME_VERSION}_amd64.deb")
  set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${USBWIZ_DEB_MAINTAINER}")
  set(CPACK_DEBIAN_PACKAGE_SECTION utils)
  set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
  set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "USB driver installation package generator")
  set(CPACK_PACKAGE_DESCRIPTION "")
  if(USBWIZ_STAND_IN_MARK)
    # The summary is what `apt list` and `dpkg -l` show; Debian keeps it under 80 characters.
    set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "USB driver package generator (${USBWIZ_STAND_IN_MARK})")
    set(CPACK_PACKAGE_DESCRIPTION
        "${USBWIZ_STAND_IN_MARK}. The driver and program files it\n"
        "carries are stand-ins, not Vexmor's files: the packages it writes install no\n"
        "driver.\n")
  endif()
  list(APPEND CPACK_PACKAGE_DESCRIPTION
      "usbdrvgen writes a customised USB driver installation package for Vexmor's\n"
      "KR550x and KM7720x USB chips: the INF files with the product's names and USB\n"
      "IDs, the installer's configuration files and the driver files, byte for byte\n"
      "as the USB Driver Wizard for Windows writes them for the same settings. It is\n"
      "meant for build pipelines that make one package per product, and can also\n"
      "write the catalog files the INF files name, ready for signing.")
  string(JOIN "" CPACK_PACKAGE_DESCRIPTION ${CPACK_PACKAGE_DESCRIPTION})
endif()

include(CPack)

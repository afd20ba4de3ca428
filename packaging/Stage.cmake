# Finishes CPack's staging folder before the archive is made (CPACK_PRE_BUILD_SCRIPTS).
#   Windows: signs the programs when the release command was given a certificate, says in
#   README.txt whether they are signed, and lists the SHA-256 of every file in SHA256SUMS.
#   Linux: drops the compilers' version strings (.comment) from the program, and writes into
#   the README the newest glibc version it needs.
set(dir "${CPACK_TEMPORARY_DIRECTORY}")

if(EXISTS "${dir}/UsbDriverWizard.exe")
  if(DEFINED ENV{USBWIZ_SIGN_PFX} OR DEFINED ENV{USBWIZ_SIGN_CERT})
    execute_process(
      COMMAND bash "${CPACK_USBWIZ_SOURCE_DIR}/packaging/sign-programs.sh"
              "${dir}/UsbDriverWizard.exe" "${dir}/usbdrvgen.exe"
      OUTPUT_VARIABLE signer OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
    set(signature "Both programs are signed (Authenticode, SHA-256) by\n      ${signer}")
  else()
    set(signature "The programs are not signed.")
  endif()
  # file(READ) drops the carriage returns, so they are put back on writing.
  file(READ "${dir}/README.txt" readme)
  string(REPLACE "{{signature}}" "${signature}" readme "${readme}")
  file(CONFIGURE OUTPUT "${dir}/README.txt" CONTENT "${readme}" @ONLY NEWLINE_STYLE CRLF)

  file(GLOB names RELATIVE "${dir}" "${dir}/*")
  list(SORT names)
  set(sums "")
  foreach(name IN LISTS names)
    file(SHA256 "${dir}/${name}" sha256)
    string(APPEND sums "${sha256}  ${name}\n")
  endforeach()
  file(WRITE "${dir}/SHA256SUMS" "${sums}")
else()
  file(GLOB_RECURSE staged "${dir}/*")
  set(program "${staged}")
  list(FILTER program INCLUDE REGEX "/bin/usbdrvgen$")
  set(readme "${staged}")
  list(FILTER readme INCLUDE REGEX "/doc/usbdrvgen/README$")
  execute_process(COMMAND "${CPACK_USBWIZ_OBJCOPY}" --remove-section=.comment "${program}"
                  COMMAND_ERROR_IS_FATAL ANY)
  execute_process(COMMAND "${CPACK_USBWIZ_OBJDUMP}" -T "${program}" OUTPUT_VARIABLE symbols
                  COMMAND_ERROR_IS_FATAL ANY)
  string(REGEX MATCHALL "GLIBC_[0-9.]+" versions "${symbols}")
  list(REMOVE_DUPLICATES versions)
  list(SORT versions COMPARE NATURAL)
  list(POP_BACK versions glibc)
  string(REPLACE "GLIBC_" "" glibc "${glibc}")
  file(READ "${readme}" text)
  string(REPLACE "{{glibc}}" "${glibc}" text "${text}")
  file(WRITE "${readme}" "${text}")
endif()

# Rewrites each archive CPack made so that it holds the same bytes wherever it is made
# (CPACK_POST_BUILD_SCRIPTS; see normalize-archives.py).
execute_process(COMMAND python3 "${CPACK_USBWIZ_SOURCE_DIR}/packaging/normalize-archives.py"
                        ${CPACK_PACKAGE_FILES}
                COMMAND_ERROR_IS_FATAL ANY)

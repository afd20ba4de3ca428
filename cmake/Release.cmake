# A release build (USBWIZ_RELEASE, the release-linux and release-windows presets): the same
# bytes from any folder at any time (scripts/compare-builds.sh checks), and programs that need
# nothing beside them but Windows itself or, on Linux, the system's C library. The windows preset
# compiles and links this way too (USBWIZ_RELEASE_FLAGS), so that the programs the Wine tests run
# are the ones a release ships, and the reproducibility check needs one build beside them, not two.
if(USBWIZ_RELEASE AND NOT DEFINED ENV{SOURCE_DATE_EPOCH})
  message(WARNING "SOURCE_DATE_EPOCH is not set, so dates in the release files are today's; "
                  "scripts/release.sh sets it to the commit's time.")
endif()

# The compiler records no folder of the build: __FILE__ and debug information name the source
# folder "." and the build folder "build". The programs carry no symbol tables either.
add_compile_options("-ffile-prefix-map=${PROJECT_SOURCE_DIR}=." "-ffile-prefix-map=${PROJECT_BINARY_DIR}=build")
add_link_options(-s)

if(WIN32)
  # Otherwise ld writes the time of the link into the PE header.
  add_link_options(LINKER:--no-insert-timestamp)
else()
  # For other distributions, the C++ runtime and libcrypto are linked in, so that only glibc
  # comes from the system; unused sections are dropped. Hardened as Debian builds packages, but
  # not position independent: relocating libcrypto's tables at every start cost a pipeline that
  # runs usbdrvgen once per product more than writing the package does (benchmarks/startup.sh:
  # 2.2 times the plain writer against 1.5). glibc, stack and heap keep their random addresses;
  # lintian notes it as hardening-no-pie, a warning.
  set(OPENSSL_USE_STATIC_LIBS TRUE)
  set(CMAKE_POSITION_INDEPENDENT_CODE OFF)
  include(CheckPIESupported)
  check_pie_supported()
  add_compile_options(-ffunction-sections -fdata-sections -fstack-protector-strong
                      -D_FORTIFY_SOURCE=2)
  add_link_options(-static-libstdc++ -static-libgcc LINKER:--gc-sections LINKER:-z,relro
                   LINKER:-z,now)
endif()

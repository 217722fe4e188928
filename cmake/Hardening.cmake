# Hardening of the project's programs where the toolchain and the platform
# support it (GCC or Clang on Linux): stack protector, fortified C library
# calls, read-only relocations resolved at start-up, position-independent
# executables. Sanitizer and fuzzer builds bring their own instrumentation and
# go without. Other targets (a mingw build for Windows) keep their defaults.
if(CMAKE_SYSTEM_NAME STREQUAL "Linux" AND CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang"
   AND NOT QUILLBOX_SANITIZE AND NOT QUILLBOX_FUZZ)
  include(CheckPIESupported)
  check_pie_supported(LANGUAGES CXX)
  set(CMAKE_POSITION_INDEPENDENT_CODE ON)
  add_compile_options(-fstack-protector-strong)
  # Fortification needs optimisation (the C library warns without it, and
  # warnings are errors); an earlier definition from the environment's flags
  # gives way to this one.
  add_compile_options("$<$<CONFIG:Release,RelWithDebInfo,MinSizeRel>:-U_FORTIFY_SOURCE>"
                      "$<$<CONFIG:Release,RelWithDebInfo,MinSizeRel>:-D_FORTIFY_SOURCE=2>")
  add_link_options(LINKER:-z,relro LINKER:-z,now)
endif()

# Strict warnings for the project's own targets.
function(quillbox_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Werror)
endfunction()

# Everything the project builds is hardened where the platform allows it.
include(${CMAKE_CURRENT_LIST_DIR}/Hardening.cmake)

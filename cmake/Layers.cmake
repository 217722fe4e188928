# Each folder is one target, and a target shows its dependents its own
# headers only: for folder `cipher`, the build tree holds
# exports/cipher/cipher, a link to the source folder, and exports/cipher is
# the target's public include folder. "cipher/X.h" then resolves in cipher's
# own sources and in the targets that link cipher, and nowhere else. The
# tests may include anything; scripts/check-layers.sh checks the direction.
function(quillbox_export_headers target)
  file(RELATIVE_PATH folder ${PROJECT_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR})
  set(exports ${PROJECT_BINARY_DIR}/exports/${folder})
  file(MAKE_DIRECTORY ${exports})
  file(CREATE_LINK ${CMAKE_CURRENT_SOURCE_DIR} ${exports}/${folder} SYMBOLIC)
  target_include_directories(${target} PUBLIC ${exports})
endfunction()

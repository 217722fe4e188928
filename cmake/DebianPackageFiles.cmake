# Run by CPack on the staged files, before it makes the Debian package: the
# manual pages and the changelog compressed as Debian's policy asks
# (gzip -9, no name or time stamp inside).
file(GLOB_RECURSE pages "${CPACK_TEMPORARY_INSTALL_DIRECTORY}/*/share/man/man*/*.[1-9]")
file(GLOB_RECURSE copyright "${CPACK_TEMPORARY_INSTALL_DIRECTORY}/*/share/doc/quillbox/copyright")
if(NOT copyright)
  message(FATAL_ERROR "no copyright file staged in ${CPACK_TEMPORARY_INSTALL_DIRECTORY}")
endif()
get_filename_component(doc "${copyright}" DIRECTORY)
file(COPY_FILE "${CPACK_QUILLBOX_CHANGELOG}" "${doc}/changelog")
foreach(file IN LISTS pages ITEMS "${doc}/changelog")
  execute_process(COMMAND gzip -9nf "${file}" COMMAND_ERROR_IS_FATAL ANY)
endforeach()

# Where `cmake --install` puts the window program and what makes it at home
# on a freedesktop desktop, and the Debian package that CPack builds from it.
include(GNUInstallDirs)

set(QUILLBOX_APP_ID org.quillbox.Quillbox)
set(QUILLBOX_ICON_SIZES 16 24 32 48 64 128 256)

if(QUILLBOX_GUI)
  install(TARGETS quillbox RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(FILES data/${QUILLBOX_APP_ID}.desktop data/${QUILLBOX_APP_ID}.Decrypt.desktop
          DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES data/${QUILLBOX_APP_ID}.metainfo.xml
          DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
  install(FILES data/quillbox-mime.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages
          RENAME quillbox.xml)
  install(FILES data/icons/quillbox.svg
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
  foreach(size IN LISTS QUILLBOX_ICON_SIZES)
    install(FILES data/icons/quillbox-${size}.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
            RENAME quillbox.png)
  endforeach()
  install(FILES doc/man/quillbox.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  install(FILES data/completion/quillbox
          DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions)
  install(FILES data/completion/quillbox.fish
          DESTINATION ${CMAKE_INSTALL_DATADIR}/fish/vendor_completions.d)
endif()
# Shell completion for quillbox-cli beside its bash completion (which its
# folder installs); the zsh function serves both programs.
install(FILES data/completion/_quillbox DESTINATION ${CMAKE_INSTALL_DATADIR}/zsh/vendor-completions)
install(FILES data/completion/quillbox-cli.fish
        DESTINATION ${CMAKE_INSTALL_DATADIR}/fish/vendor_completions.d)

install(FILES data/copyright DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/quillbox)

# One package with everything installed above and by the folders.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quillbox)
set(CPACK_PACKAGE_VENDOR "The Quillbox developers")
set(CPACK_PACKAGE_CONTACT "The Quillbox developers <developers@quillbox.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "encrypt and decrypt files and short texts under a password")
# One string: lines given as separate arguments would be joined with ";".
set(CPACK_PACKAGE_DESCRIPTION "\
Quillbox encrypts and decrypts whole files and short strings under a
password, from a small window (quillbox) or from the command line
(quillbox-cli).")
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://quillbox.org/")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
# The manual pages and the changelog go into the package compressed.
set(CPACK_QUILLBOX_CHANGELOG ${PROJECT_SOURCE_DIR}/data/changelog)
set(CPACK_PRE_BUILD_SCRIPTS ${PROJECT_SOURCE_DIR}/cmake/DebianPackageFiles.cmake)
# The libraries come from the binaries. The Qt platform plugins (X11 and
# Wayland) are loaded at run time, and the Wayland clipboard uses Qt's
# private interface, which binds the program to the exact Qt release.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
if(QUILLBOX_GUI)
  find_package(Qt6 REQUIRED COMPONENTS Core)
  set(CPACK_DEBIAN_PACKAGE_DEPENDS
      "qt6-qpa-plugins, qt6-wayland, qt6-base-abi (= ${Qt6Core_VERSION})")
endif()
set(CPACK_STRIP_FILES ON)
include(CPack)

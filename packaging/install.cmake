# Installation (make install, with PREFIX and DESTDIR) and the Debian package
# (make deb). The installed program keeps its data in share/tabulon, which it
# copies into the user's data folder on first start.
include(GNUInstallDirs)

install(TARGETS tabulon tbaide RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
if(TARGET tabulon-cli)
  install(TARGETS tabulon-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  # Where tabulon-cli finds the commands it does not run itself.
  install(TARGETS tabulon-cli-full tabulon-cli-search RUNTIME DESTINATION ${CMAKE_INSTALL_LIBEXECDIR}/tabulon)
endif()
install(DIRECTORY ${CMAKE_SOURCE_DIR}/data/ DESTINATION ${CMAKE_INSTALL_DATADIR}/tabulon
  FILE_PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ
  PATTERN ".git*" EXCLUDE)

set(TABULON_ID fr.tabulon.Tabulon)
install(FILES ${CMAKE_CURRENT_LIST_DIR}/${TABULON_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_CURRENT_LIST_DIR}/${TABULON_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${CMAKE_CURRENT_LIST_DIR}/icons/tabulon.svg
  DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps RENAME ${TABULON_ID}.svg)
foreach(size 16 24 32 48 64 128 256)
  install(FILES ${CMAKE_CURRENT_LIST_DIR}/icons/tabulon-${size}.png
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps RENAME ${TABULON_ID}.png)
endforeach()

# Manual pages and the Debian changelog, compressed without a time stamp.
file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/packaging)
set(TABULON_GZ_FILES)
foreach(page tabulon tabulon-cli tbaide)
  set(out ${CMAKE_BINARY_DIR}/packaging/${page}.1.gz)
  add_custom_command(OUTPUT ${out}
    COMMAND gzip -n -9 -c ${CMAKE_CURRENT_LIST_DIR}/man/${page}.1 > ${out}
    DEPENDS ${CMAKE_CURRENT_LIST_DIR}/man/${page}.1)
  list(APPEND TABULON_GZ_FILES ${out})
  install(FILES ${out} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endforeach()
set(changelog ${CMAKE_BINARY_DIR}/packaging/changelog.gz)
add_custom_command(OUTPUT ${changelog}
  COMMAND gzip -n -9 -c ${CMAKE_CURRENT_LIST_DIR}/changelog > ${changelog}
  DEPENDS ${CMAKE_CURRENT_LIST_DIR}/changelog)
add_custom_target(packaging_files ALL DEPENDS ${TABULON_GZ_FILES} ${changelog})
install(FILES ${changelog} ${CMAKE_CURRENT_LIST_DIR}/copyright DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/tabulon)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tabulon)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Tabulon")
set(CPACK_PACKAGE_CONTACT "Tabulon <tabulon@tabulon.fr>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "card file of clients pinned on a map of France")
set(CPACK_PACKAGE_DESCRIPTION "Tabulon keeps the cards of a small business's clients, each pinned on a map.\n\
Cards are listed, searched, exported and imported as vCard and CSV files,\n\
and a database is backed up in one command. The program speaks French.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://tabulon.fr/")
# Debian's own Qt libraries, found from the programs' links; the platform
# plugins and the French translations of the standard dialogs besides.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The zoomed default map is drawn from its SVG.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, qt6-translations-l10n, libqt6svg6")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)

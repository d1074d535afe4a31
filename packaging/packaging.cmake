# Installation and the Debian package: the two programs, the desktop entry, the AppStream
# metainfo, the icon and the man pages. Included from the top-level CMakeLists.txt.
include(GNUInstallDirs)
set(TYLD_APP_ID jp.tyld.Tyld)
set(tyld_pkg_src ${CMAKE_CURRENT_LIST_DIR})
set(tyld_pkg_bin ${PROJECT_BINARY_DIR}/packaging)

install(TARGETS tyld tyld-render RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${tyld_pkg_src}/${TYLD_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
configure_file(${tyld_pkg_src}/${TYLD_APP_ID}.metainfo.xml.in ${tyld_pkg_bin}/${TYLD_APP_ID}.metainfo.xml @ONLY)
install(FILES ${tyld_pkg_bin}/${TYLD_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# The PNGs are rendered from the SVG once and kept (packaging/icons/README.md).
install(FILES ${tyld_pkg_src}/icons/${TYLD_APP_ID}.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
foreach(size 16 24 32 48 64 128 256)
  install(FILES ${tyld_pkg_src}/icons/${TYLD_APP_ID}-${size}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps RENAME ${TYLD_APP_ID}.png)
endforeach()

# Man pages: hand-written roff with the version filled in, compressed as Debian keeps them.
find_program(TYLD_GZIP gzip)
set(tyld_man_pages)
foreach(page tyld tyld-render)
  configure_file(${tyld_pkg_src}/man/${page}.1 ${tyld_pkg_bin}/man/${page}.1 @ONLY)
  if(TYLD_GZIP)
    add_custom_command(OUTPUT ${tyld_pkg_bin}/man/${page}.1.gz
      COMMAND ${TYLD_GZIP} -9 -n -k -f ${tyld_pkg_bin}/man/${page}.1
      DEPENDS ${tyld_pkg_bin}/man/${page}.1 VERBATIM)
    list(APPEND tyld_man_pages ${tyld_pkg_bin}/man/${page}.1.gz)
  else()
    list(APPEND tyld_man_pages ${tyld_pkg_bin}/man/${page}.1)
  endif()
endforeach()
add_custom_target(tyld_man_pages ALL DEPENDS ${tyld_man_pages})
install(FILES ${tyld_man_pages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

# cpack -G DEB: the library dependencies come from dpkg-shlibdeps; the fonts the screens
# lay out with are named here, Qt's own translations only recommended.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tyld)
set(CPACK_PACKAGE_VENDOR "The Tyld developers")
set(CPACK_PACKAGE_CONTACT "The Tyld developers <tyld@tyld.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "show and print any file as Shift-JIS text and as a hex dump")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
  "show and print any file as Shift-JIS text and as a hex dump\n"
  " Tyld shows one file in two page screens side by side, the ASCII screen\n"
  " (Shift-JIS text, converted from UTF-8 or decoded from a mail file) and the\n"
  " binary screen (a hex dump), and prints the pages exactly as shown.\n"
  " tyld-render prints or renders the same pages from scripts without a display.")
string(CONCAT CPACK_DEBIAN_PACKAGE_DESCRIPTION ${CPACK_DEBIAN_PACKAGE_DESCRIPTION})
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-ipafont-gothic, fonts-ipafont-mincho")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n")
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
include(CPack)

if(TYLD_TESTS)
  add_subdirectory(${PROJECT_SOURCE_DIR}/tests/packaging ${PROJECT_BINARY_DIR}/tests/packaging)
endif()

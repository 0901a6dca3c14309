# Installing and packaging the Linux program.
#
#   cmake --install build/linux [--prefix DIR]   the program, its manual
#       page, desktop entry and notes under the prefix (default /usr/local);
#       the XScreenSaver hack and its settings where XScreenSaver looks
#       (GLIMMORA_XSCREENSAVER_HACK_DIR, GLIMMORA_XSCREENSAVER_CONFIG_DIR)
#   cpack --config build/linux/CPackConfig.cmake -B DIR
#       glimmora3d_VERSION_ARCH.deb in DIR, everything under /usr
# The files besides the program live in packaging/.

include(GNUInstallDirs)

# XScreenSaver reads the settings of its hacks from one compiled-in folder
# and runs them from its hack folder (Debian's: /usr/libexec/xscreensaver),
# whatever the prefix.
set(GLIMMORA_XSCREENSAVER_HACK_DIR /usr/libexec/xscreensaver CACHE PATH
    "Where XScreenSaver runs its hacks from")
set(GLIMMORA_XSCREENSAVER_CONFIG_DIR /usr/share/xscreensaver/config CACHE PATH
    "Where xscreensaver-settings reads the hacks' settings")

set(PACKAGING ${CMAKE_SOURCE_DIR}/packaging)

# The manual page carries the project's version; manual pages are installed
# compressed, without a time stamp.
set(MANPAGE_TEXT ${CMAKE_BINARY_DIR}/packaging/glimmora3d.6)
configure_file(${PACKAGING}/glimmora3d.6.in ${MANPAGE_TEXT} @ONLY)
set(MANPAGE ${CMAKE_BINARY_DIR}/packaging/glimmora3d.6.gz)
add_custom_command(OUTPUT ${MANPAGE}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/packaging
  COMMAND gzip -9 -n -c ${MANPAGE_TEXT} > ${MANPAGE}
  DEPENDS ${MANPAGE_TEXT} VERBATIM)
add_custom_target(glimmora3d_manpage ALL DEPENDS ${MANPAGE})

install(TARGETS glimmora3d RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${MANPAGE} DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
install(FILES ${PACKAGING}/glimmora3d.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PACKAGING}/XSCREENSAVER DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/glimmora3d)
install(FILES ${PACKAGING}/glimmora3d.xml DESTINATION ${GLIMMORA_XSCREENSAVER_CONFIG_DIR})
# The hack is the program itself: a link in the hack folder, made when
# installing, since the prefix (and so the program's folder) is known only
# then.
install(CODE "
  set(HACK_DIR \"\$ENV{DESTDIR}${GLIMMORA_XSCREENSAVER_HACK_DIR}\")
  file(RELATIVE_PATH TARGET \"${GLIMMORA_XSCREENSAVER_HACK_DIR}\"
       \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/glimmora3d\")
  message(STATUS \"Installing: \${HACK_DIR}/glimmora3d -> \${TARGET}\")
  file(MAKE_DIRECTORY \"\${HACK_DIR}\")
  file(REMOVE \"\${HACK_DIR}/glimmora3d\")
  file(CREATE_LINK \"\${TARGET}\" \"\${HACK_DIR}/glimmora3d\" SYMBOLIC)
")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME glimmora3d)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Tarnwick Software")
set(CPACK_PACKAGE_CONTACT "Tarnwick Software <glimmora3d@tarnwick.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "underwater 3D screen saver with dollar bills and bubbles")
set(CPACK_PACKAGE_DESCRIPTION "Glimmora 3D draws an animated underwater scene with OpenGL: dollar bills
sink and tumble, are thrown up from below or swim across like fish,
bubbles rise from a sandy bottom and caustic light plays over everything,
in three themes with a looping bubble sound.

It runs in a window, full screen, or as an XScreenSaver hack (its settings
appear in xscreensaver-settings once it is in the programs list; see
/usr/share/doc/glimmora3d/XSCREENSAVER).")
set(CPACK_DEBIAN_PACKAGE_SECTION x11)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SUGGESTS xscreensaver)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)   # Depends from the libraries linked
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)  # glimmora3d_VERSION_ARCH.deb
# Installed under DESTDIR with the real prefix, so that the absolute
# XScreenSaver folders and the hack's link come out right in the package.
set(CPACK_SET_DESTDIR ON)
set(CPACK_INSTALL_PREFIX /usr)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
include(CPack)

# SPDX-FileCopyrightText: 2026 Tarrowen
# SPDX-License-Identifier: MIT
# Install layout and the Debian package (`cpack -G DEB` in the build folder).
#
# The program and its dictionary stay together in LIBDIR/digitome (the program
# looks for dbWords.mdb beside itself); BINDIR/digitome is a small launcher.
# The desktop entry, AppStream metainfo and hicolor icons follow the usual
# places below DATADIR.
include(GNUInstallDirs)

set(DIGITOME_INSTALL_APP_DIR ${CMAKE_INSTALL_LIBDIR}/digitome)
set(DIGITOME_PACKAGE_PREFIX /usr)
if(IS_ABSOLUTE ${DIGITOME_INSTALL_APP_DIR})
    set(DIGITOME_PACKAGE_APP_DIR ${DIGITOME_INSTALL_APP_DIR})
else()
    set(DIGITOME_PACKAGE_APP_DIR ${DIGITOME_PACKAGE_PREFIX}/${DIGITOME_INSTALL_APP_DIR})
endif()
set(DIGITOME_PACKAGING_DIR ${PROJECT_SOURCE_DIR}/packaging)
set(generated ${PROJECT_BINARY_DIR}/packaging)
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

install(TARGETS digitome RUNTIME DESTINATION ${DIGITOME_INSTALL_APP_DIR})
install(FILES ${DIGITOME_APP_DIR}/dbWords.mdb DESTINATION ${DIGITOME_INSTALL_APP_DIR})

# The launcher finds the program relative to itself, so that the whole tree
# can move (cmake --install --prefix, cpack); absolute folders stay absolute.
if(IS_ABSOLUTE ${CMAKE_INSTALL_BINDIR} OR IS_ABSOLUTE ${DIGITOME_INSTALL_APP_DIR})
    set(DIGITOME_LAUNCHED_PROGRAM ${CMAKE_INSTALL_FULL_LIBDIR}/digitome/digitome)
else()
    file(RELATIVE_PATH launched /prefix/${CMAKE_INSTALL_BINDIR}
         /prefix/${DIGITOME_INSTALL_APP_DIR}/digitome)
    set(DIGITOME_LAUNCHED_PROGRAM "$here/${launched}")
endif()
configure_file(${DIGITOME_PACKAGING_DIR}/digitome-launcher.sh.in ${generated}/digitome @ONLY)
install(PROGRAMS ${generated}/digitome DESTINATION ${CMAKE_INSTALL_BINDIR})

install(FILES ${DIGITOME_PACKAGING_DIR}/org.tarrowen.Digitome.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${DIGITOME_PACKAGING_DIR}/org.tarrowen.Digitome.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(DIRECTORY ${DIGITOME_PACKAGING_DIR}/icons/hicolor DESTINATION ${CMAKE_INSTALL_DATADIR}/icons)

set(CPACK_PACKAGE_NAME digitome)
set(CPACK_PACKAGE_VENDOR "Tarrowen")
set(CPACK_PACKAGE_CONTACT "support@tarrowen.example")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Turns telephone numbers into words")
set(CPACK_PACKAGE_INSTALL_DIRECTORY digitome)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "libqt6widgets6 (>= 6.4), libqt6gui6 (>= 6.4), libqt6core6 (>= 6.4), libmdb3, libxlsxwriter4, fonts-liberation")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "libreoffice-calc")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
include(CPack)

# SPDX-FileCopyrightText: 2026 Tarrowen
# SPDX-License-Identifier: MIT
# Install layout: the program and its dictionary stay together in
# lib/digitome (the program looks for dbWords.mdb beside itself); bin/digitome
# is a small launcher. `cpack -G DEB` builds a Debian package.
install(FILES ${DIGITOME_APP_DIR}/dbWords.mdb DESTINATION lib/digitome)
install(PROGRAMS ${CMAKE_SOURCE_DIR}/app/digitome-launcher.sh DESTINATION bin RENAME digitome)

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

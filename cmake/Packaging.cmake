# SPDX-FileCopyrightText: 2026 Tarrowen
# SPDX-License-Identifier: MIT
# Install layout and the Debian package (`cpack -G DEB` in the build folder).
#
# The programs and their dictionary stay together in LIBDIR/digitome (they
# look for dbWords.mdb beside themselves); BINDIR/digitome,
# BINDIR/digitome-convert and BINDIR/digitome-dictionary are small launchers.
# The desktop entry, AppStream metainfo, hicolor icons, manual page, copyright
# and changelog follow the usual places below DATADIR.
include(GNUInstallDirs)

set(DIGITOME_INSTALL_APP_DIR ${CMAKE_INSTALL_LIBDIR}/digitome)
set(DIGITOME_PACKAGE_PREFIX /usr)
set(DIGITOME_DEBIAN_REVISION 1)
if(IS_ABSOLUTE ${DIGITOME_INSTALL_APP_DIR})
    set(DIGITOME_PACKAGE_APP_DIR ${DIGITOME_INSTALL_APP_DIR})
else()
    set(DIGITOME_PACKAGE_APP_DIR ${DIGITOME_PACKAGE_PREFIX}/${DIGITOME_INSTALL_APP_DIR})
endif()
set(DIGITOME_PACKAGING_DIR ${PROJECT_SOURCE_DIR}/packaging)
set(generated ${PROJECT_BINARY_DIR}/packaging)
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

set(DIGITOME_PROGRAMS digitome digitome-convert digitome-dictionary)
install(TARGETS ${DIGITOME_PROGRAMS} RUNTIME DESTINATION ${DIGITOME_INSTALL_APP_DIR})
# A stripping install (cpack, cmake --install --strip) also drops the
# compiler's .comment section, as Debian's own tools do.
if(CMAKE_OBJCOPY)
    foreach(program ${DIGITOME_PROGRAMS})
        install(CODE "
            if(CMAKE_INSTALL_DO_STRIP)
                execute_process(COMMAND \"${CMAKE_OBJCOPY}\" --remove-section=.comment
                    \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${DIGITOME_INSTALL_APP_DIR}/${program}\"
                    COMMAND_ERROR_IS_FATAL ANY)
            endif()")
    endforeach()
endif()
install(FILES ${DIGITOME_APP_DIR}/dbWords.mdb DESTINATION ${DIGITOME_INSTALL_APP_DIR})

# A launcher finds its program relative to itself, so that the whole tree can
# move (cmake --install --prefix, cpack); absolute folders stay absolute.
foreach(program ${DIGITOME_PROGRAMS})
    if(IS_ABSOLUTE ${CMAKE_INSTALL_BINDIR} OR IS_ABSOLUTE ${DIGITOME_INSTALL_APP_DIR})
        set(DIGITOME_LAUNCHED_PROGRAM ${CMAKE_INSTALL_FULL_LIBDIR}/digitome/${program})
    else()
        file(RELATIVE_PATH launched /prefix/${CMAKE_INSTALL_BINDIR}
             /prefix/${DIGITOME_INSTALL_APP_DIR}/${program})
        set(DIGITOME_LAUNCHED_PROGRAM "$here/${launched}")
    endif()
    configure_file(${DIGITOME_PACKAGING_DIR}/digitome-launcher.sh.in
                   ${generated}/launchers/${program} @ONLY)
    install(PROGRAMS ${generated}/launchers/${program} DESTINATION ${CMAKE_INSTALL_BINDIR})
endforeach()

install(FILES ${DIGITOME_PACKAGING_DIR}/org.tarrowen.Digitome.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${DIGITOME_PACKAGING_DIR}/org.tarrowen.Digitome.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(DIRECTORY ${DIGITOME_PACKAGING_DIR}/icons/hicolor DESTINATION ${CMAKE_INSTALL_DATADIR}/icons)

# The Debian changelog names the package version; a new project version needs
# a new entry.
set(DIGITOME_PACKAGE_VERSION ${PROJECT_VERSION}-${DIGITOME_DEBIAN_REVISION})
file(STRINGS ${DIGITOME_PACKAGING_DIR}/changelog changelog_top LIMIT_COUNT 1)
if(NOT changelog_top MATCHES "^digitome \\(${DIGITOME_PACKAGE_VERSION}\\) ")
    message(FATAL_ERROR "packaging/changelog does not begin with version "
                        "${DIGITOME_PACKAGE_VERSION}: ${changelog_top}")
endif()

# The machine-readable copyright file takes the licence texts from the
# repository's notices, each line indented, empty lines as " .".
function(digitome_dep5_text variable text)
    string(REGEX REPLACE "[ \t]+\n" "\n" text "${text}")
    string(STRIP "${text}" text)
    string(REPLACE "\n" "\n " text " ${text}")
    string(REPLACE "\n \n" "\n .\n" text "${text}")
    string(REPLACE "\n \n" "\n .\n" text "${text}")
    set(${variable} "${text}" PARENT_SCOPE)
endfunction()
function(digitome_mit_permission variable file)
    file(READ ${file} text)
    string(FIND "${text}" "Permission is hereby granted" start)
    if(start LESS 0)
        message(FATAL_ERROR "${file} holds no MIT permission notice")
    endif()
    string(SUBSTRING "${text}" ${start} -1 text)
    set(${variable} "${text}" PARENT_SCOPE)
endfunction()
digitome_mit_permission(project_permission ${PROJECT_SOURCE_DIR}/LICENSE)
digitome_mit_permission(jet4_permission ${PROJECT_SOURCE_DIR}/tests/data/jet4/LICENSE)
if(NOT project_permission STREQUAL jet4_permission)
    message(FATAL_ERROR "tests/data/jet4/LICENSE is no longer the project's MIT licence: "
                        "packaging/copyright.in needs a paragraph of its own for it")
endif()
# The rated words come under the same licence, its text quoted and wrapped
# otherwise.
function(digitome_normalised_text variable text)
    string(REPLACE "'" "\"" text "${text}")
    string(REGEX REPLACE "[ \t\n]+" " " text "${text}")
    string(STRIP "${text}" text)
    set(${variable} "${text}" PARENT_SCOPE)
endfunction()
digitome_mit_permission(offensive_permission ${PROJECT_SOURCE_DIR}/data/offensive-words.LICENSE)
digitome_normalised_text(offensive_permission "${offensive_permission}")
digitome_normalised_text(expat_permission "${project_permission}")
if(NOT offensive_permission STREQUAL expat_permission)
    message(FATAL_ERROR "data/offensive-words.LICENSE is no longer the MIT licence: "
                        "packaging/copyright.in needs a paragraph of its own for it")
endif()
file(READ ${PROJECT_SOURCE_DIR}/data/SCOWL-COPYRIGHT scowl_notice)
digitome_dep5_text(DIGITOME_EXPAT_TEXT "${project_permission}")
digitome_dep5_text(DIGITOME_SCOWL_TEXT "${scowl_notice}")
configure_file(${DIGITOME_PACKAGING_DIR}/copyright.in ${generated}/copyright @ONLY)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
    ${DIGITOME_PACKAGING_DIR}/changelog ${PROJECT_SOURCE_DIR}/LICENSE
    ${PROJECT_SOURCE_DIR}/tests/data/jet4/LICENSE ${PROJECT_SOURCE_DIR}/data/SCOWL-COPYRIGHT
    ${PROJECT_SOURCE_DIR}/data/offensive-words.LICENSE)

# The manual page and the changelog are installed compressed, without a
# timestamp, at the highest level.
configure_file(${DIGITOME_PACKAGING_DIR}/digitome.1.in ${generated}/digitome.1 @ONLY)
configure_file(${PROJECT_SOURCE_DIR}/tools/convert/digitome-convert.1
               ${generated}/digitome-convert.1 COPYONLY)
configure_file(${PROJECT_SOURCE_DIR}/tools/dictionary/digitome-dictionary.1
               ${generated}/digitome-dictionary.1 COPYONLY)
find_program(GZIP gzip REQUIRED)
foreach(page digitome digitome-convert digitome-dictionary)
    add_custom_command(OUTPUT ${generated}/${page}.1.gz
        COMMAND ${GZIP} -9n -c ${generated}/${page}.1 > ${generated}/${page}.1.gz
        DEPENDS ${generated}/${page}.1 VERBATIM)
endforeach()
add_custom_command(OUTPUT ${generated}/changelog.Debian.gz
    COMMAND ${GZIP} -9n -c ${DIGITOME_PACKAGING_DIR}/changelog > ${generated}/changelog.Debian.gz
    DEPENDS ${DIGITOME_PACKAGING_DIR}/changelog VERBATIM)
add_custom_target(packaging_files ALL
    DEPENDS ${generated}/digitome.1.gz ${generated}/digitome-convert.1.gz
            ${generated}/digitome-dictionary.1.gz ${generated}/changelog.Debian.gz)
install(FILES ${generated}/digitome.1.gz ${generated}/digitome-convert.1.gz
              ${generated}/digitome-dictionary.1.gz
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
set(DIGITOME_INSTALL_DOC_DIR ${CMAKE_INSTALL_DATAROOTDIR}/doc/digitome)
install(FILES ${generated}/copyright ${generated}/changelog.Debian.gz
        DESTINATION ${DIGITOME_INSTALL_DOC_DIR})
install(FILES ${DIGITOME_PACKAGING_DIR}/lintian-overrides
        DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/lintian/overrides RENAME digitome)

set(CPACK_GENERATOR DEB)
set(CPACK_VERBATIM_VARIABLES ON)
set(CPACK_PACKAGE_NAME digitome)
set(CPACK_PACKAGE_VENDOR "Tarrowen")
set(CPACK_PACKAGE_CONTACT "Tarrowen <support@tarrowen.example>")
set(CPACK_PACKAGE_HOMEPAGE_URL "https://www.tarrowen.example/")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "turn telephone numbers into words")
# Lines that begin with blanks are shown as they stand; an empty line starts
# a new paragraph.
set(CPACK_PACKAGE_DESCRIPTION [[
Digitome finds the words hidden in telephone numbers. Collect numbers in
a list (typed, loaded from a text file or taken from two samples) and
convert them:
  - mnemonic: every keypad reading of a number (2 is ABC ... 9 is WXYZ,
    each digit may also stay a digit) cut into dictionary words and
    digit groups, so that 434-3453 becomes IF-I-FILE;
  - spelled out: 434-3453 becomes "four three four three four five three".

Results can be thinned by a search text, ordered best first, copied to
the clipboard, saved as a column-aligned text file or handed to
LibreOffice Calc; digitome-convert does the same conversions on the
command line. An English
dictionary of about 39,000 common words, derived from SCOWL, comes with
the program; digitome-dictionary makes one of any language from word
lists, and digits can be spelled out in nine languages besides English.
]])
set(CPACK_PACKAGING_INSTALL_PREFIX ${DIGITOME_PACKAGE_PREFIX})
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Tarrowen <support@tarrowen.example>")
set(CPACK_DEBIAN_PACKAGE_RELEASE ${DIGITOME_DEBIAN_REVISION})
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "libreoffice-calc")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
include(CPack)

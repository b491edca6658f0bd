# The release: a portable skin folder (make dist: TGZ) and a Debian package (DEB), both made
# by CPack from the built tree.
#
# The two hold the same programs and default skin in different places, so each has its own
# install component: "portable" is the skin folder itself, "system" the Debian layout with a
# launcher and desktop entries. packaging/cpackproject.cmake.in picks the one per generator.

# Packaging installs what is built and builds nothing itself: make dist builds first, and the
# package test runs on the tree ctest was given.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY TRUE)

set(RELEASE_NAME picturecalc)
set(RELEASE_LIBDIR lib/${RELEASE_NAME})
set(RELEASE_REVISION 1) # the Debian revision: the package is made apart from the source
set(RELEASE_DATE 2026-12-07)

# The package's default skin, drawn afresh: build/bin/calc.dat may hold a skin a developer
# made there with Skinwright.
get_directory_property(default_skin_files DIRECTORY ${PROJECT_SOURCE_DIR}/tools/makeskin
    DEFINITION skin_files)
set(release_skin_dir ${CMAKE_BINARY_DIR}/packaging/skin)
list(TRANSFORM default_skin_files PREPEND ${release_skin_dir}/ OUTPUT_VARIABLE release_skin)
add_custom_command(OUTPUT ${release_skin}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${release_skin_dir}
    COMMAND makeskin ${release_skin_dir}
    DEPENDS makeskin
    COMMENT "Drawing the default skin for the release"
    VERBATIM)
add_custom_target(release_skin ALL DEPENDS ${release_skin})

# Libraries come from the system alone: a skin folder is passed around, and a library placed
# in it must not be loaded by the programs.
set_target_properties(calc Skinwright picturecalc picturecalc-thumbnailer PROPERTIES INSTALL_RPATH "")

# The skin folder of the tarball.
install(TARGETS calc Skinwright RUNTIME DESTINATION . COMPONENT portable)
install(FILES ${release_skin} DESTINATION . COMPONENT portable)
install(FILES ${CMAKE_CURRENT_LIST_DIR}/README.txt DESTINATION . COMPONENT portable)

# The Debian layout: the same folder, read-only under /usr/lib, and a launcher that runs the
# programs from the user's own shelf of skins; the .calcskin type with its thumbnailer.
install(TARGETS calc Skinwright RUNTIME DESTINATION ${RELEASE_LIBDIR} COMPONENT system)
install(FILES ${release_skin} DESTINATION ${RELEASE_LIBDIR} COMPONENT system)
install(TARGETS picturecalc picturecalc-thumbnailer RUNTIME DESTINATION bin COMPONENT system)
install(FILES ${CMAKE_CURRENT_LIST_DIR}/picturecalc.desktop
              ${CMAKE_CURRENT_LIST_DIR}/picturecalc-archive.desktop
              ${CMAKE_CURRENT_LIST_DIR}/picturecalc-shelf.desktop
              ${CMAKE_CURRENT_LIST_DIR}/picturecalc-skinwright.desktop
    DESTINATION share/applications COMPONENT system)
install(FILES ${CMAKE_CURRENT_LIST_DIR}/picturecalc-skin.xml
    DESTINATION share/mime/packages RENAME picturecalc.xml COMPONENT system)
install(FILES ${CMAKE_CURRENT_LIST_DIR}/picturecalc.thumbnailer
    DESTINATION share/thumbnailers COMPONENT system)
install(FILES ${CMAKE_CURRENT_LIST_DIR}/icons/picturecalc.svg
              ${CMAKE_CURRENT_LIST_DIR}/icons/picturecalc-skinwright.svg
    DESTINATION share/icons/hicolor/scalable/apps COMPONENT system)
# The manual pages, in English and in Japanese, from the POD beside this file; gzipped as Debian
# wants, at most and without a time stamp. The calculator's page is picturecalc-calc: calc(1) is
# another package's calculator, and the program is not on the PATH anyway.
find_program(POD2MAN pod2man REQUIRED)
set(release_man)
foreach(page picturecalc picturecalc-calc Skinwright picturecalc-thumbnailer)
    foreach(language en ja)
        if(language STREQUAL "en")
            set(source ${CMAKE_CURRENT_LIST_DIR}/man/${page}.pod)
            set(destination share/man/man1)
        else()
            set(source ${CMAKE_CURRENT_LIST_DIR}/man/${page}.${language}.pod)
            set(destination share/man/${language}/man1)
        endif()
        set(page_file ${CMAKE_BINARY_DIR}/packaging/man/${language}/${page}.1.gz)
        string(TOUPPER ${page} title)
        add_custom_command(OUTPUT ${page_file}
            COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/packaging/man/${language}
            COMMAND sh -c "\"$0\" --utf8 --section=1 --name=\"$1\" --center=\"$2\" --release=\"$3\" --date=\"$4\" \"$5\" | gzip -9n > \"$6\""
                ${POD2MAN} ${title} ${RELEASE_NAME} "${RELEASE_NAME} ${PROJECT_VERSION}" ${RELEASE_DATE}
                ${source} ${page_file}
            DEPENDS ${source}
            VERBATIM)
        list(APPEND release_man ${page_file})
        install(FILES ${page_file} DESTINATION ${destination} COMPONENT system)
    endforeach()
endforeach()
add_custom_target(release_man ALL DEPENDS ${release_man})
# The software centres' entry, named by its component ID (the reverse of the contact
# address's domain) and dated as the changelog is.
set(METAINFO_ID invalid.example.picturecalc)
configure_file(${CMAKE_CURRENT_LIST_DIR}/picturecalc.metainfo.xml.in
    ${CMAKE_BINARY_DIR}/packaging/${METAINFO_ID}.metainfo.xml @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/packaging/${METAINFO_ID}.metainfo.xml
    DESTINATION share/metainfo COMPONENT system)
# Debian's changelog, compressed as the policy asks: at most, and without a time stamp.
execute_process(COMMAND date --utc --rfc-email --date=${RELEASE_DATE}
    OUTPUT_VARIABLE RELEASE_DATE_RFC_EMAIL OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
configure_file(${CMAKE_CURRENT_LIST_DIR}/changelog.Debian.in
    ${CMAKE_BINARY_DIR}/packaging/changelog.Debian @ONLY)
set(release_changelog ${CMAKE_BINARY_DIR}/packaging/changelog.Debian.gz)
add_custom_command(OUTPUT ${release_changelog}
    COMMAND gzip -9nc ${CMAKE_BINARY_DIR}/packaging/changelog.Debian > ${release_changelog}
    DEPENDS ${CMAKE_BINARY_DIR}/packaging/changelog.Debian)
add_custom_target(release_changelog ALL DEPENDS ${release_changelog})
install(FILES ${CMAKE_CURRENT_LIST_DIR}/README.txt ${CMAKE_CURRENT_LIST_DIR}/copyright
              ${release_changelog}
    DESTINATION share/doc/${RELEASE_NAME} COMPONENT system)

set(CPACK_PACKAGE_NAME ${RELEASE_NAME})
set(CPACK_PACKAGE_VENDOR "PictureCalc")
set(CPACK_PACKAGE_CONTACT "PictureCalc developers <picturecalc@example.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "picture-skinned desk calculator and its skin wizard")
set(CPACK_PACKAGE_FILE_NAME "${RELEASE_NAME}-${PROJECT_VERSION}-linux-${CMAKE_SYSTEM_PROCESSOR}")
set(CPACK_GENERATOR TGZ DEB)
set(CPACK_STRIP_FILES ON)
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_BINARY_DIR}/packaging/cpackproject.cmake)
configure_file(${CMAKE_CURRENT_LIST_DIR}/cpackproject.cmake.in
    ${CMAKE_BINARY_DIR}/packaging/cpackproject.cmake @ONLY)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE ${RELEASE_REVISION})
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "電卓 is a desk calculator whose whole face is a picture: every digit key, the
answer and the COPY key show their own picture, and the digit keys play piano
notes. Skinwright, a three-page wizard, makes such a skin (calc.dat).
Both have Japanese user interfaces.")
# The libraries (Qt with its xcb and image-format plugins, RtMidi, FluidSynth, PulseAudio) come from
# dpkg-shlibdeps; what the programs only open at run time is named here.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt's Japanese texts, without which Qt's own dialogs, context menus and key names speak English
# among the programs' Japanese.
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "timgm6mb-soundfont | sf2-soundfont-gm, fonts-ipafont-gothic | fonts-japanese-gothic, qt6-translations-l10n")
# Qt's Wayland plugin, without which a Wayland desktop shows the programs through XWayland,
# blurred when scaled.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils, qt6-wayland")

include(CPack)

# What a desktop program installs besides itself, and the package made of it: a Debian package
# on Linux, an installer and a portable zip on Windows.
if(WIN32)
  include(${CMAKE_CURRENT_LIST_DIR}/windows/Packaging.cmake)
  return()
endif()
include(GNUInstallDirs)

# The day this version is released: the AppStream release and the manual page show it.
set(TYCHOBVR_RELEASE_DATE 2026-12-08)

set(packaging_dir ${CMAKE_CURRENT_LIST_DIR})
set(generated_dir ${PROJECT_BINARY_DIR}/packaging)

install(FILES ${packaging_dir}/org.tychobvr.TychoBVR.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES ${packaging_dir}/org.tychobvr.TychoBVR.png
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/256x256/apps)

if(APPLE)
  return()
endif()

configure_file(${packaging_dir}/org.tychobvr.TychoBVR.metainfo.xml.in
               ${generated_dir}/org.tychobvr.TychoBVR.metainfo.xml @ONLY)
configure_file(${packaging_dir}/tychobvr.1.in ${generated_dir}/tychobvr.1 @ONLY)
configure_file(${packaging_dir}/tychobvr.ja.1.in ${generated_dir}/tychobvr.ja.1 @ONLY)
configure_file(${packaging_dir}/changelog.in ${generated_dir}/changelog @ONLY)

# Debian compresses manual pages and changelogs with gzip -9n: no name or time stamp inside.
find_program(GZIP_PROGRAM gzip REQUIRED)
set(compressed)
foreach(name tychobvr.1 tychobvr.ja.1 changelog)
  add_custom_command(OUTPUT ${generated_dir}/${name}.gz
                     COMMAND ${GZIP_PROGRAM} -9nkf ${generated_dir}/${name}
                     DEPENDS ${generated_dir}/${name} VERBATIM)
  list(APPEND compressed ${generated_dir}/${name}.gz)
endforeach()
add_custom_target(compressed_docs ALL DEPENDS ${compressed})

install(FILES ${packaging_dir}/org.tychobvr.TychoBVR.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${generated_dir}/org.tychobvr.TychoBVR.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${generated_dir}/tychobvr.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${generated_dir}/tychobvr.ja.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/ja/man1
        RENAME tychobvr.1.gz)
install(FILES ${packaging_dir}/copyright ${generated_dir}/changelog.gz
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/tychobvr)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tychobvr)
set(CPACK_PACKAGE_VENDOR "The TychoBVR developers")
set(CPACK_PACKAGE_CONTACT "The TychoBVR developers <developers@tychobvr.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "B, V and R magnitudes from a star's Tycho BT and VT")
set(CPACK_PACKAGE_DESCRIPTION [[
A small desktop utility for astronomers. Copy any text that carries a star's
two Tycho magnitudes, tagged BT= and VT= (a catalogue page, a planetarium
program's star panel, a mail), press OK, and the window shows the copied text
and one line with the star's B, V and R magnitudes.

B and V come from linear fits of Tycho-2 BT and VT against Landolt standard
stars; R = V - 0.5 (B - V) is a coarse approximation.]])
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# CPack takes the architecture of the machine that builds; a cross-built package is for the
# target's, named after its GNU triplet.
if(CMAKE_CROSSCOMPILING)
  execute_process(COMMAND dpkg-architecture -t ${CMAKE_LIBRARY_ARCHITECTURE} -qDEB_HOST_ARCH
                  OUTPUT_VARIABLE CPACK_DEBIAN_PACKAGE_ARCHITECTURE
                  OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET COMMAND_ERROR_IS_FATAL ANY)
endif()
# The label's Japanese Gothic, Qt's own texts in the user's language, and the native Wayland
# platform; the program runs without any of them.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-ipafont-gothic, qt6-translations-l10n, qt6-wayland")
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
include(CPack)

# The installed layout and the Debian package: cmake --install, or cpack -G DEB (tools/package).
#
# The programs look for maps/ and icons/ beside their own file, so they stay together in
# <prefix>/lib/zelkora, with relative links in <prefix>/bin: whatever the prefix, and in a package
# unpacked anywhere, the links resolve to the folder that holds the data.
set(ZELKORA_INSTALL_DIR lib/zelkora)
set(ZELKORA_MAINTAINER "Zelkora developers <zelkora@example.org>"
    CACHE STRING "The Maintainer field of the Debian package")

set(zelkora_programs zelkora-cli)
if(TARGET zelkora)
    list(APPEND zelkora_programs zelkora)
endif()
install(TARGETS ${zelkora_programs} RUNTIME DESTINATION ${ZELKORA_INSTALL_DIR})
install(DIRECTORY ${PROJECT_SOURCE_DIR}/data/maps ${PROJECT_SOURCE_DIR}/data/icons
        DESTINATION ${ZELKORA_INSTALL_DIR})
foreach(program IN LISTS zelkora_programs)
    set(link ${PROJECT_BINARY_DIR}/packaging/bin/${program})
    file(MAKE_DIRECTORY ${PROJECT_BINARY_DIR}/packaging/bin)
    file(CREATE_LINK ../${ZELKORA_INSTALL_DIR}/${program} ${link} SYMBOLIC)
    install(FILES ${link} DESTINATION bin)
endforeach()

set(packaging ${PROJECT_SOURCE_DIR}/packaging)
install(FILES ${packaging}/zelkora.desktop DESTINATION share/applications)
install(DIRECTORY ${packaging}/icons/hicolor DESTINATION share/icons)
install(FILES ${packaging}/zelkora-points.xml DESTINATION share/mime/packages RENAME zelkora.xml)
install(FILES ${packaging}/copyright DESTINATION share/doc/zelkora)

# Manual pages and the changelog go in compressed, without a time stamp, so the package is the
# same from one build to the next.
find_program(GZIP_EXECUTABLE gzip REQUIRED)
set(compressed)
foreach(file zelkora.1 zelkora-cli.1 changelog)
    set(out ${PROJECT_BINARY_DIR}/packaging/${file}.gz)
    add_custom_command(OUTPUT ${out}
        COMMAND ${GZIP_EXECUTABLE} -9 -n -c ${packaging}/${file} > ${out}
        DEPENDS ${packaging}/${file}
        VERBATIM)
    list(APPEND compressed ${out})
endforeach()
add_custom_target(zelkora-compressed-docs ALL DEPENDS ${compressed})
install(FILES ${PROJECT_BINARY_DIR}/packaging/zelkora.1.gz
              ${PROJECT_BINARY_DIR}/packaging/zelkora-cli.1.gz
        DESTINATION share/man/man1)
install(FILES ${PROJECT_BINARY_DIR}/packaging/changelog.gz DESTINATION share/doc/zelkora)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME zelkora)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT ${ZELKORA_MAINTAINER})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Fonts are no library the binaries link, so they are named here; dpkg-shlibdeps adds the
# libraries. The window is laid out for Tahoma, which fonts-wine brings with Cyrillic letters; the
# figure's text is Liberation Sans, loaded by file. The Russian file dialogs come with Qt's
# translations.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-wine, fonts-liberation2")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "plot points as marker icons on maps of Vietnam and the Russian Far East
Zelkora draws geographic points as marker icons on pre-drawn regional maps
of Vietnam and the Russian Far East and saves the result as a JPEG, PNG or
BMP picture, for distribution maps in papers. Points are typed into a table
of nine marker types, pasted in almost any coordinate notation, or imported
by species from spreadsheets, GBIF downloads, GPX, KML and GeoJSON files,
and the table goes back out to CSV, GeoJSON, KML and GPX; the map's grid,
rivers, district boundaries, state borders and coastlines can be switched
on and off. The interface is Russian.
.
The package holds the window, zelkora, and the command line zelkora-cli,
which does the same jobs for scripts.")
include(CPack)

if(ZELKORA_BUILD_TESTS)
    add_subdirectory(tests/packaging)
endif()

# What `cmake --install` puts beside the program and the program's data, and
# the Debian package CPack makes from it (`cpack -G DEB` in the build folder).

set(FQ_GENERATED_RESOURCES ${CMAKE_BINARY_DIR}/resources)
configure_file(resources/fernquill.desktop.in ${FQ_GENERATED_RESOURCES}/${FQ_APP_ID}.desktop @ONLY)
configure_file(resources/fernquill.metainfo.xml.in ${FQ_GENERATED_RESOURCES}/${FQ_APP_ID}.metainfo.xml @ONLY)
install(FILES ${FQ_GENERATED_RESOURCES}/${FQ_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${FQ_GENERATED_RESOURCES}/${FQ_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
foreach(size 16 32 48 128)
    install(FILES resources/fernquill-${size}.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
            RENAME ${FQ_APP_ID}.png)
endforeach()

# What Debian asks of every package, installed by `cmake --install` as well:
# the copyright file, the changelog and the manual page, the last two
# compressed with `gzip -9n` (no name or time in the header: the bytes
# depend on the text alone).
find_program(FQ_GZIP gzip REQUIRED)
# Both name the version: a new version needs its changelog entry first.
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS packaging/changelog docs/fernquill.1)
file(STRINGS packaging/changelog FQ_CHANGELOG_TOP LIMIT_COUNT 1)
file(STRINGS docs/fernquill.1 FQ_MANPAGE_TITLE REGEX "^\\.TH ")
if(NOT FQ_CHANGELOG_TOP MATCHES "^fernquill \\(${PROJECT_VERSION}\\) "
   OR NOT FQ_MANPAGE_TITLE MATCHES "\"Fernquill ${PROJECT_VERSION}\"")
    message(FATAL_ERROR "packaging/changelog (top entry) and docs/fernquill.1 (.TH line) must name version ${PROJECT_VERSION}")
endif()
set(FQ_PACKAGING_OUT ${CMAKE_BINARY_DIR}/packaging)
file(MAKE_DIRECTORY ${FQ_PACKAGING_OUT})
set(FQ_COMPRESSED_DOCS)
foreach(source packaging/changelog docs/fernquill.1)
    cmake_path(GET source FILENAME name)
    add_custom_command(OUTPUT ${FQ_PACKAGING_OUT}/${name}.gz
        COMMAND ${CMAKE_COMMAND} -E copy ${PROJECT_SOURCE_DIR}/${source} ${FQ_PACKAGING_OUT}/${name}
        COMMAND ${FQ_GZIP} -9nf ${FQ_PACKAGING_OUT}/${name}
        DEPENDS ${PROJECT_SOURCE_DIR}/${source}
        COMMENT "Compressing ${name}"
        VERBATIM)
    list(APPEND FQ_COMPRESSED_DOCS ${FQ_PACKAGING_OUT}/${name}.gz)
endforeach()
add_custom_target(fernquill_docs ALL DEPENDS ${FQ_COMPRESSED_DOCS})
add_dependencies(fernquill fernquill_docs)
install(FILES packaging/copyright ${FQ_PACKAGING_OUT}/changelog.gz DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/fernquill)
install(FILES ${FQ_PACKAGING_OUT}/fernquill.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

# The install rules, tried on every test run: install into a scratch folder and
# start the installed program on the sample.
if(FQ_BUILD_TESTS)
    add_test(NAME install_and_start
             COMMAND bash ${PROJECT_SOURCE_DIR}/scripts/check-install.sh ${CMAKE_BINARY_DIR} ${FQ_APP_ID})
    set_tests_properties(install_and_start PROPERTIES
        TIMEOUT 300
        ENVIRONMENT "ASAN_OPTIONS=detect_leaks=1:abort_on_error=1;LSAN_OPTIONS=suppressions=${PROJECT_SOURCE_DIR}/tests/lsan.supp:print_suppressions=0;UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1")
endif()

set(CPACK_PACKAGE_NAME fernquill)
set(CPACK_PACKAGE_VENDOR "Brackenhold Tools")
set(CPACK_PACKAGE_CONTACT "Brackenhold Tools <fernquill@brackenhold.example>" CACHE STRING
    "Maintainer of the Debian package")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "editor for the AI aircraft folders of FS9 and FSX")
# Debian's control file: description lines within 80 columns.
set(CPACK_PACKAGE_DESCRIPTION
    "Fernquill lists the entries of an aircraft.cfg of Microsoft Flight
Simulator 2004 (FS9) or Flight Simulator X (FSX) in a grid, edits them and
writes them back, and validates aircraft folders into text reports. It
finds the simulators in a Wine prefix.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# A tool in usr/bin, as the desktop entry's category Utility says.
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# xdg-open opens the manual, the reports and the maker's web page; the
# windows ask for Arial and Verdana, whose metric twins Liberation has.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils, fonts-liberation")
include(CPack)

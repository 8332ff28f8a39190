# Install, Debian package and Windows version record checks: shell scripts in
# tests/packaging, run on the build tree after it is built.
include(${CMAKE_SOURCE_DIR}/cmake/Identity.cmake)

set(PACKAGING_TESTS ${CMAKE_SOURCE_DIR}/tests/packaging)

add_test(NAME packaging_install
         COMMAND bash ${PACKAGING_TESTS}/install.sh ${CMAKE_BINARY_DIR} ${PROJECT_VERSION})
add_test(NAME packaging_installed_start
         COMMAND bash ${PACKAGING_TESTS}/installed-start.sh ${CMAKE_BINARY_DIR})
add_test(NAME packaging_deb
         COMMAND bash ${PACKAGING_TESTS}/deb.sh ${CMAKE_BINARY_DIR} ${PROJECT_VERSION})
add_test(NAME packaging_version_record
         COMMAND bash ${PACKAGING_TESTS}/version-record.sh x86_64-w64-mingw32-windres
                 ${CMAKE_CXX_COMPILER} ${PELORA_RESOURCE_SCRIPT}
                 ${CMAKE_SOURCE_DIR}/assets/icon/pelora.ico ${PELORA_VERSION_SHORT}
                 ${PROJECT_VERSION_MAJOR} ${PROJECT_VERSION_MINOR} ${PELORA_MAKER}
                 ${PELORA_COPYRIGHT})

set_tests_properties(packaging_install packaging_installed_start packaging_deb
                     packaging_version_record PROPERTIES LABELS packaging TIMEOUT 60)
# Installing writes install_manifest.txt into the build tree.
set_tests_properties(packaging_install packaging_installed_start packaging_deb
                     PROPERTIES RESOURCE_LOCK pelora_build_tree_install)

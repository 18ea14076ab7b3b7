# Installs the shared libraries with every public header, the tool, the
# bundled images with the index and lexicon tables saved for them, and the
# licences; and describes every library to find_package(KelvornUnihan) and to pkg-config.
# The static archive exists for white-box tests only and is never installed.
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

set(KELVORN_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/KelvornUnihan)

set_target_properties(kelvorn_unihan PROPERTIES EXPORT_NAME unihan)
install(TARGETS kelvorn_unihan kelvorn_unihan_app kelvorn_unihan_index kelvorn_unihan_fields
  EXPORT KelvornUnihanTargets
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
          COMPONENT runtime NAMELINK_COMPONENT development
  RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT runtime)
# The companions find the core next to them, wherever the tree is installed
# or moved.
set_target_properties(kelvorn_unihan_app kelvorn_unihan_index PROPERTIES INSTALL_RPATH "$ORIGIN")
install(DIRECTORY ${PROJECT_SOURCE_DIR}/include/kelvorn
  DESTINATION ${CMAKE_INSTALL_INCLUDEDIR} COMPONENT development
  FILES_MATCHING PATTERN "*.h")

if(TARGET unihan)
  install(TARGETS unihan RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT runtime)
  # Once, here: the Python package installed beside them uses these too.
  install(FILES ${KELVORN_IMAGE} ${KELVORN_CORE_TABLES} ${KELVORN_FIELDS_IMAGE} ${KELVORN_SAVED_INDEX}
    ${KELVORN_LEXICON_TABLES}
    DESTINATION ${KELVORN_DATA_INSTALL_DIR} COMPONENT data)
endif()

# The Unicode licence asks that its notice go with every copy of the data.
install(FILES ${PROJECT_SOURCE_DIR}/LICENSE ${PROJECT_SOURCE_DIR}/data/LICENSE-UNICODE
  DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/kelvorn-unihan COMPONENT runtime)

install(EXPORT KelvornUnihanTargets NAMESPACE kelvorn::
  FILE KelvornUnihanTargets.cmake DESTINATION ${KELVORN_CMAKE_DIR} COMPONENT development)
configure_package_config_file(${PROJECT_SOURCE_DIR}/cmake/KelvornUnihanConfig.cmake.in
  ${PROJECT_BINARY_DIR}/KelvornUnihanConfig.cmake
  INSTALL_DESTINATION ${KELVORN_CMAKE_DIR}
  PATH_VARS KELVORN_DATA_INSTALL_DIR)
write_basic_package_version_file(${PROJECT_BINARY_DIR}/KelvornUnihanConfigVersion.cmake
  COMPATIBILITY SameMajorVersion)
install(FILES ${PROJECT_BINARY_DIR}/KelvornUnihanConfig.cmake
              ${PROJECT_BINARY_DIR}/KelvornUnihanConfigVersion.cmake
  DESTINATION ${KELVORN_CMAKE_DIR} COMPONENT development)

# A .pc file finds the prefix from its own place, so that a tree installed
# with `cmake --install --prefix` elsewhere, or moved, still describes
# itself; the distribution's own /usr is written as it is.
if(CMAKE_INSTALL_PREFIX STREQUAL "/usr")
  set(KELVORN_PC_PREFIX /usr)
else()
  file(RELATIVE_PATH KELVORN_PC_TO_PREFIX
    ${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_LIBDIR}/pkgconfig ${CMAKE_INSTALL_PREFIX})
  string(REGEX REPLACE "/$" "" KELVORN_PC_TO_PREFIX "${KELVORN_PC_TO_PREFIX}")
  set(KELVORN_PC_PREFIX "\${pcfiledir}/${KELVORN_PC_TO_PREFIX}")
endif()

# kelvorn_pkg_config(NAME LIBRARY DESCRIPTION [REQUIRES]): NAME.pc for one
# installed library, and NAME-uninstalled.pc in <build>/pkgconfig, which
# pkg-config prefers when that directory is on PKG_CONFIG_PATH: the build
# tree's libraries and the source's headers, so that a test links a program
# through the module before anything is installed.
function(kelvorn_pkg_config name library description)
  set(KELVORN_PC_NAME ${name})
  set(KELVORN_PC_LIBRARY ${library})
  set(KELVORN_PC_DESCRIPTION ${description})
  set(KELVORN_PC_REQUIRES "${ARGN}")
  set(KELVORN_PC_LIBDIR "\${prefix}/${CMAKE_INSTALL_LIBDIR}")
  set(KELVORN_PC_INCLUDEDIR "\${prefix}/${CMAKE_INSTALL_INCLUDEDIR}")
  configure_file(${PROJECT_SOURCE_DIR}/cmake/kelvorn.pc.in ${PROJECT_BINARY_DIR}/${name}.pc @ONLY)
  install(FILES ${PROJECT_BINARY_DIR}/${name}.pc
    DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig COMPONENT development)
  set(KELVORN_PC_LIBDIR ${PROJECT_BINARY_DIR})
  set(KELVORN_PC_INCLUDEDIR ${PROJECT_SOURCE_DIR}/include)
  configure_file(${PROJECT_SOURCE_DIR}/cmake/kelvorn.pc.in
    ${PROJECT_BINARY_DIR}/pkgconfig/${name}-uninstalled.pc @ONLY)
endfunction()

set(KELVORN_PC_CORE "kelvorn-unihan = ${PROJECT_VERSION}")
kelvorn_pkg_config(kelvorn-unihan kelvorn_unihan
  "Per-code-point access to the Unicode Han Database (Unihan): the core")
# The application API answers through the index and the all-field store,
# whose types its header uses: the one module a program names.
kelvorn_pkg_config(kelvorn-unihan-app kelvorn_unihan_app
  "kelvorn::Unihan, the application API, with the bundled data"
  "${KELVORN_PC_CORE}, kelvorn-unihan-index = ${PROJECT_VERSION}, kelvorn-unihan-fields = ${PROJECT_VERSION}")
kelvorn_pkg_config(kelvorn-unihan-index kelvorn_unihan_index
  "Reverse lookups (by radical, strokes, reading) and sort orders over kelvorn-unihan"
  "${KELVORN_PC_CORE}, kelvorn-unihan-fields = ${PROJECT_VERSION}")
kelvorn_pkg_config(kelvorn-unihan-fields kelvorn_unihan_fields
  "Every Unihan field of every code point, and the lexicon over them")

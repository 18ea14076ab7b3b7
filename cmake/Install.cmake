# Installs the shared library with its header, the tool and the bundled image,
# and describes the library to find_package(KelvornUnihan) and to pkg-config.
# The static archive exists for white-box tests only and is never installed.
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

set(KELVORN_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/KelvornUnihan)
set(KELVORN_SHARE_DIR ${CMAKE_INSTALL_DATADIR}/kelvorn-unihan)

set_target_properties(kelvorn_unihan PROPERTIES EXPORT_NAME unihan)
install(TARGETS kelvorn_unihan EXPORT KelvornUnihanTargets
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
          COMPONENT runtime NAMELINK_COMPONENT development
  RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT runtime)
install(FILES ${PROJECT_SOURCE_DIR}/include/kelvorn/UnihanMgr.h ${PROJECT_SOURCE_DIR}/include/kelvorn/UnihanImage.h
  DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/kelvorn COMPONENT development)

# The application API, next to the core it uses.
install(TARGETS kelvorn_unihan_app EXPORT KelvornUnihanTargets
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
          COMPONENT runtime NAMELINK_COMPONENT development
  RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT runtime)
install(FILES ${PROJECT_SOURCE_DIR}/include/kelvorn/Unihan.h
              ${PROJECT_SOURCE_DIR}/include/kelvorn/UnihanFieldNames.h
              ${PROJECT_SOURCE_DIR}/include/kelvorn/Utf8.h
  DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/kelvorn COMPONENT development)
set_target_properties(kelvorn_unihan_app PROPERTIES INSTALL_RPATH "$ORIGIN")

if(TARGET unihan)
  install(TARGETS unihan RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT runtime)
  install(FILES ${KELVORN_IMAGE} DESTINATION ${KELVORN_SHARE_DIR} COMPONENT runtime)
endif()

install(EXPORT KelvornUnihanTargets NAMESPACE kelvorn::
  FILE KelvornUnihanTargets.cmake DESTINATION ${KELVORN_CMAKE_DIR} COMPONENT development)
configure_package_config_file(${PROJECT_SOURCE_DIR}/cmake/KelvornUnihanConfig.cmake.in
  ${PROJECT_BINARY_DIR}/KelvornUnihanConfig.cmake
  INSTALL_DESTINATION ${KELVORN_CMAKE_DIR}
  PATH_VARS KELVORN_SHARE_DIR)
write_basic_package_version_file(${PROJECT_BINARY_DIR}/KelvornUnihanConfigVersion.cmake
  COMPATIBILITY SameMajorVersion)
install(FILES ${PROJECT_BINARY_DIR}/KelvornUnihanConfig.cmake
              ${PROJECT_BINARY_DIR}/KelvornUnihanConfigVersion.cmake
  DESTINATION ${KELVORN_CMAKE_DIR} COMPONENT development)

# The .pc file finds the prefix from its own place, so that a tree installed
# with `cmake --install --prefix` elsewhere, or moved, still describes itself.
file(RELATIVE_PATH KELVORN_PC_TO_PREFIX
  ${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_LIBDIR}/pkgconfig ${CMAKE_INSTALL_PREFIX})
string(REGEX REPLACE "/$" "" KELVORN_PC_TO_PREFIX "${KELVORN_PC_TO_PREFIX}")
configure_file(${PROJECT_SOURCE_DIR}/cmake/kelvorn-unihan.pc.in
  ${PROJECT_BINARY_DIR}/kelvorn-unihan.pc @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/kelvorn-unihan.pc
  DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig COMPONENT development)

include(${PROJECT_SOURCE_DIR}/cmake/IndexInstall.cmake)

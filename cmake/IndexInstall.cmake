# Installs the companion index library into the KelvornUnihan package, as the
# target kelvorn::unihan_index, with its header and its own pkg-config file.
# Included from Install.cmake, whose directories and export set it shares.
install(TARGETS kelvorn_unihan_index EXPORT KelvornUnihanTargets
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
          COMPONENT runtime NAMELINK_COMPONENT development
  RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT runtime)
install(FILES ${PROJECT_SOURCE_DIR}/include/kelvorn/UnihanIndex.h
  DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/kelvorn COMPONENT development)
# The core lies next to it, wherever the tree is installed or moved.
set_target_properties(kelvorn_unihan_index PROPERTIES INSTALL_RPATH "$ORIGIN")

configure_file(${PROJECT_SOURCE_DIR}/cmake/kelvorn-unihan-index.pc.in
  ${PROJECT_BINARY_DIR}/kelvorn-unihan-index.pc @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/kelvorn-unihan-index.pc
  DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig COMPONENT development)

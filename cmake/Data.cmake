# The bundled Unihan data is kept compressed in the repository and unpacked
# into the build tree for the tests and tools that need it.
find_program(XZ_EXECUTABLE xz REQUIRED)
set(KELVORN_DATA_XZ ${PROJECT_SOURCE_DIR}/data/unihan-15.0-all.txt.xz)
set(KELVORN_DATA_TXT ${PROJECT_BINARY_DIR}/data/unihan-15.0-all.txt)
add_custom_command(
  OUTPUT ${KELVORN_DATA_TXT}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${PROJECT_BINARY_DIR}/data
  COMMAND sh -c "'${XZ_EXECUTABLE}' -dc '${KELVORN_DATA_XZ}' > '${KELVORN_DATA_TXT}.tmp' && mv '${KELVORN_DATA_TXT}.tmp' '${KELVORN_DATA_TXT}'"
  DEPENDS ${KELVORN_DATA_XZ}
  COMMENT "Unpacking the bundled Unihan 15.0 data"
  VERBATIM)
add_custom_target(unihan_data ALL DEPENDS ${KELVORN_DATA_TXT})

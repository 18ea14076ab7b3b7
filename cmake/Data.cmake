# The bundled Unihan data is kept compressed in the repository and unpacked
# into the build tree for the tests and tools that need it.
#
# KELVORN_UNICODE_VERSION is the one place that names the Unicode release of
# the bundled data: the image's file name, the tool's --version, Python's
# UNICODE_VERSION and the package files all follow it. The earlier release is
# kept beside it so that the real-data tests pin its answers too.
set(KELVORN_UNICODE_VERSION 17.0)
set(KELVORN_EARLIER_UNICODE_VERSION 15.0)
set(KELVORN_IMAGE_NAME unihan-${KELVORN_UNICODE_VERSION}.bin)
set(KELVORN_EARLIER_IMAGE_NAME unihan-${KELVORN_EARLIER_UNICODE_VERSION}.bin)
# The core tables written from the image, opened in place of it.
set(KELVORN_CORE_TABLES_NAME unihan-core-tables-${KELVORN_UNICODE_VERSION}.bin)

find_program(XZ_EXECUTABLE xz REQUIRED)

# Unpacks data/unihan-VERSION-all.txt.xz to <build>/data and names the text
# file in OUT_VAR.
function(kelvorn_unpack_data version out_var)
  set(xz ${PROJECT_SOURCE_DIR}/data/unihan-${version}-all.txt.xz)
  set(txt ${PROJECT_BINARY_DIR}/data/unihan-${version}-all.txt)
  add_custom_command(
    OUTPUT ${txt}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${PROJECT_BINARY_DIR}/data
    COMMAND sh -c "'${XZ_EXECUTABLE}' -dc '${xz}' > '${txt}.tmp' && mv '${txt}.tmp' '${txt}'"
    DEPENDS ${xz}
    COMMENT "Unpacking the Unihan ${version} data"
    VERBATIM)
  set(${out_var} ${txt} PARENT_SCOPE)
endfunction()

kelvorn_unpack_data(${KELVORN_UNICODE_VERSION} KELVORN_DATA_TXT)
kelvorn_unpack_data(${KELVORN_EARLIER_UNICODE_VERSION} KELVORN_EARLIER_DATA_TXT)
add_custom_target(unihan_data ALL DEPENDS ${KELVORN_DATA_TXT} ${KELVORN_EARLIER_DATA_TXT})

# Where the images and the saved index are installed. The libraries find it
# from their own directory by the path between the two, recorded here, so
# that any libdir (Debian's multiarch one too) and a moved prefix work.
include(GNUInstallDirs)
set(KELVORN_DATA_INSTALL_DIR ${CMAKE_INSTALL_DATADIR}/kelvorn-unihan)
file(RELATIVE_PATH KELVORN_LIBDIR_TO_DATADIR ${CMAKE_INSTALL_FULL_LIBDIR}
  ${CMAKE_INSTALL_FULL_DATADIR}/kelvorn-unihan)

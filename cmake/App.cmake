# The application API (kelvorn/Unihan.h): one value type over the core, with
# loads and saves that refuse what they must and never leave a file
# half-written. Its own shared library, SONAME and version script keep the
# core's export table as it is. The file helpers under src/app/files are
# shared with the unihan tool, which links them itself.
add_library(kelvorn_files OBJECT
  src/app/files/BundledFiles.cpp
  src/app/files/Crc32.cpp
  src/app/files/FileDescriptor.cpp
  src/app/files/InputFile.cpp
  src/app/files/StagedOutput.cpp
  src/app/files/StagingRegistry.cpp
  src/app/files/UnihanTextFiles.cpp)
target_include_directories(kelvorn_files PUBLIC
  ${PROJECT_SOURCE_DIR}/include ${PROJECT_SOURCE_DIR}/src)
set_target_properties(kelvorn_files PROPERTIES
  POSITION_INDEPENDENT_CODE ON
  CXX_VISIBILITY_PRESET hidden
  VISIBILITY_INLINES_HIDDEN ON)
# The bundled files lie where the application library was installed, which
# every door finds by its SONAME.
target_compile_definitions(kelvorn_files PRIVATE
  KELVORN_LIBDIR_TO_DATADIR="${KELVORN_LIBDIR_TO_DATADIR}")
if(NOT EMSCRIPTEN)
  target_compile_definitions(kelvorn_files PRIVATE
    KELVORN_APP_SONAME="$<TARGET_SONAME_FILE_NAME:kelvorn_unihan_app>")
endif()

# The core's own objects are compiled in, for its hidden entry points in
# memory (cmake/Library.cmake says why that is sound).
kelvorn_companion_library(kelvorn_unihan_app unihan_app ${PROJECT_SOURCE_DIR}/cmake/app-exports.map
  src/app/Load.cpp
  src/app/Unihan.cpp
  src/app/Bundle.cpp
  src/app/UnihanBundle.cpp
  src/app/BundleFiles.cpp
  src/app/UnihanFieldQueries.cpp
  src/app/UnihanIndexQueries.cpp
  src/fields/TextSources.cpp
  $<TARGET_OBJECTS:kelvorn_files>
  $<TARGET_OBJECTS:kelvorn_saved_index>
  $<TARGET_OBJECTS:kelvorn_field_grammar>
  $<TARGET_OBJECTS:kelvorn_unihan_objects>)
kelvorn_core_lto(kelvorn_unihan_app)
find_package(Threads REQUIRED)
# One object answers every question: the index and the all-field store are
# part of its interface.
target_link_libraries(kelvorn_unihan_app PUBLIC kelvorn_unihan kelvorn_unihan_index
  kelvorn_unihan_fields PRIVATE ${CMAKE_DL_LIBS} Threads::Threads)
target_compile_definitions(kelvorn_unihan_app PRIVATE
  KELVORN_UNICODE_VERSION="${KELVORN_UNICODE_VERSION}" KELVORN_IMAGE_NAME="${KELVORN_IMAGE_NAME}"
  KELVORN_FIELDS_IMAGE_NAME="unihan-fields-${KELVORN_UNICODE_VERSION}.bin"
  KELVORN_INDEX_NAME="unihan-index-${KELVORN_UNICODE_VERSION}.bin"
  KELVORN_CORE_TABLES_NAME="${KELVORN_CORE_TABLES_NAME}")

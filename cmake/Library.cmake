# The library's sources are compiled once into an object library. The shared
# library exports only the members of kelvorn::UnihanMgr; the static archive
# built from the same objects lets white-box tests reach the store.
set(KELVORN_SOURCES
  src/store/UnihanData.cpp
  src/store/SegmentIndex.cpp
  src/store/ReadingSet.cpp
  src/store/ChunkedFile.cpp
  src/store/UnihanMgr.cpp
  src/text/LineReader.cpp
  src/text/FieldSearch.cpp
  src/text/FieldValues.cpp
  src/text/TextReader.cpp
  src/query/RadStrokeQueries.cpp
  src/query/CidQueries.cpp
  src/query/ReadingQueries.cpp
  src/image/ImageLimits.cpp
  src/image/ImageWriter.cpp
  src/image/TextDump.cpp
  src/image/ImageReader.cpp
)

add_library(kelvorn_unihan_objects OBJECT ${KELVORN_SOURCES})
target_include_directories(kelvorn_unihan_objects
  PUBLIC
    $<BUILD_INTERFACE:${PROJECT_SOURCE_DIR}/include>
  PRIVATE
    ${PROJECT_SOURCE_DIR}/src)
set_target_properties(kelvorn_unihan_objects PROPERTIES
  POSITION_INDEPENDENT_CODE ON
  CXX_VISIBILITY_PRESET hidden
  VISIBILITY_INLINES_HIDDEN ON)

add_library(kelvorn_unihan SHARED $<TARGET_OBJECTS:kelvorn_unihan_objects>)
add_library(kelvorn::unihan ALIAS kelvorn_unihan)
target_include_directories(kelvorn_unihan PUBLIC
  $<BUILD_INTERFACE:${PROJECT_SOURCE_DIR}/include>
  $<INSTALL_INTERFACE:include>)
# The version script keeps every other symbol, the standard library's template
# instances included, out of the export table.
set(KELVORN_EXPORT_MAP ${PROJECT_SOURCE_DIR}/cmake/exports.map)
target_link_options(kelvorn_unihan PRIVATE
  -Wl,--version-script=${KELVORN_EXPORT_MAP} -Wl,--no-undefined)
set_target_properties(kelvorn_unihan PROPERTIES
  VERSION ${PROJECT_VERSION}
  SOVERSION ${PROJECT_VERSION_MAJOR}
  LINK_DEPENDS ${KELVORN_EXPORT_MAP}
  CXX_VISIBILITY_PRESET hidden
  VISIBILITY_INLINES_HIDDEN ON)

add_library(kelvorn_unihan_static STATIC $<TARGET_OBJECTS:kelvorn_unihan_objects>)
target_include_directories(kelvorn_unihan_static PUBLIC
  ${PROJECT_SOURCE_DIR}/include ${PROJECT_SOURCE_DIR}/src)

# Each exported member forwards to the store, whose queries live in other
# files; link-time optimisation folds the two calls into one in optimised
# GCC builds, a nanosecond off every query.
include(CheckIPOSupported)
check_ipo_supported(RESULT KELVORN_IPO_SUPPORTED LANGUAGES CXX)
if(KELVORN_LTO AND KELVORN_IPO_SUPPORTED AND CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND NOT KELVORN_SANITIZE AND NOT KELVORN_SANITIZE_THREAD)
  set_property(TARGET kelvorn_unihan_objects kelvorn_unihan kelvorn_unihan_static
    PROPERTY INTERPROCEDURAL_OPTIMIZATION_RELEASE ON)
endif()

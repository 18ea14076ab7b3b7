# The companion index library: reverse lookups (by radical, total strokes and
# reading) and sort orders, built on the core's public interface only. Its own
# shared library, SONAME and version script keep the core's export table as
# it is.
set(KELVORN_INDEX_SOURCES
  src/index/ReadingFold.cpp
  src/index/StringIds.cpp
  src/index/ReadingTable.cpp
  src/index/IndexBuilder.cpp
  src/index/SortKeys.cpp
  src/index/UnihanIndex.cpp
)

add_library(kelvorn_unihan_index SHARED ${KELVORN_INDEX_SOURCES})
add_library(kelvorn::unihan_index ALIAS kelvorn_unihan_index)
target_include_directories(kelvorn_unihan_index
  PUBLIC
    $<BUILD_INTERFACE:${PROJECT_SOURCE_DIR}/include>
    $<INSTALL_INTERFACE:include>
  PRIVATE
    ${PROJECT_SOURCE_DIR}/src)
target_link_libraries(kelvorn_unihan_index PUBLIC kelvorn_unihan)
set(KELVORN_INDEX_EXPORT_MAP ${PROJECT_SOURCE_DIR}/cmake/index-exports.map)
target_link_options(kelvorn_unihan_index PRIVATE
  -Wl,--version-script=${KELVORN_INDEX_EXPORT_MAP} -Wl,--no-undefined)
set_target_properties(kelvorn_unihan_index PROPERTIES
  EXPORT_NAME unihan_index
  VERSION ${PROJECT_VERSION}
  SOVERSION ${PROJECT_VERSION_MAJOR}
  LINK_DEPENDS ${KELVORN_INDEX_EXPORT_MAP}
  CXX_VISIBILITY_PRESET hidden
  VISIBILITY_INLINES_HIDDEN ON)

# The library's sources are compiled once into an object library. The shared
# library exports only the members of kelvorn::UnihanMgr; the static archive
# built from the same objects lets white-box tests reach the store.
#
# The application library (cmake/App.cmake) links these same objects into
# itself, to load text from memory and to take the image and the dump as
# bytes through the store's hidden entry points, which no export table may
# carry. That is sound because:
# - they are the very object files of the core, so the store's layout, and
#   the code that reads it, is one whichever library made the store: a
#   handle that Unihan::core() gives a user works on it through the core's
#   exported members, and the last handle frees it through its virtual
#   destructor, in the library that made it, which the user links;
# - the application's version script makes every copied symbol local, so
#   the application binds to its own copy when it is linked and nothing is
#   interposed at run time (the UnihanMgr members it carries are not in its
#   export table, tests/check-exports.sh checks it);
# - the core keeps no mutable global state (no static store, no registry),
#   so two copies have nothing to disagree about.
set(KELVORN_SOURCES
  src/store/UnihanData.cpp
  src/store/SegmentIndex.cpp
  src/store/ReadingSet.cpp
  src/store/TablesReader.cpp
  src/store/TablesWriter.cpp
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
# A library that links the objects links them with the same optimisation.
include(CheckIPOSupported)
check_ipo_supported(RESULT KELVORN_IPO_SUPPORTED LANGUAGES CXX)
function(kelvorn_core_lto)
  if(KELVORN_LTO AND KELVORN_IPO_SUPPORTED AND CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND NOT KELVORN_SANITIZE AND NOT KELVORN_SANITIZE_THREAD)
    set_property(TARGET ${ARGN} PROPERTY INTERPROCEDURAL_OPTIMIZATION_RELEASE ON)
  endif()
endfunction()
kelvorn_core_lto(kelvorn_unihan_objects kelvorn_unihan kelvorn_unihan_static)

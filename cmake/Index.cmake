# The companion index library: reverse lookups (by radical, total strokes and
# reading) and sort orders, built on the core's public interface only. Its own
# shared library, SONAME and version script keep the core's export table as
# it is.
set(KELVORN_INDEX_SOURCES
  src/index/ReadingFold.cpp
  src/index/ReadingFrequencies.cpp
  src/index/SavedFrequencies.cpp
  src/index/StringIds.cpp
  src/index/ReadingTable.cpp
  src/index/IndexBuilder.cpp
  src/index/HeldRuns.cpp
  src/index/IndexCodec.cpp
  src/index/SortKeys.cpp
  src/index/RadicalStrokeExtras.cpp
  src/index/MandarinReadings.cpp
  src/index/NamedReadings.cpp
  src/index/UnihanIndex.cpp
)

# Opening a saved index checks its tables in loops over every held code
# point; GCC vectorizes them at -O2 only with a cost model that allows a
# scalar tail.
set_source_files_properties(src/index/IndexCodec.cpp src/index/HeldRuns.cpp PROPERTIES
  COMPILE_OPTIONS "$<$<CXX_COMPILER_ID:GNU>:-fvect-cost-model=dynamic>")

kelvorn_companion_library(kelvorn_unihan_index unihan_index
  ${PROJECT_SOURCE_DIR}/cmake/index-exports.map ${KELVORN_INDEX_SOURCES}
  src/fields/NearestName.cpp)
# What it refuses it throws as kelvorn::Error, which the all-field library
# defines.
target_link_libraries(kelvorn_unihan_index PUBLIC kelvorn_unihan kelvorn_unihan_fields)

# Opening the index saved beside the images instead of building it; shared by
# the tool and the Python module, which link the file helpers and the
# all-field library it uses.
add_library(kelvorn_saved_index OBJECT src/index/saved/SavedIndex.cpp src/index/saved/DataTag.cpp
  src/index/saved/FieldExtras.cpp src/fields/MappedFile.cpp src/fields/NearestName.cpp)
target_include_directories(kelvorn_saved_index PUBLIC
  ${PROJECT_SOURCE_DIR}/include ${PROJECT_SOURCE_DIR}/src)
set_target_properties(kelvorn_saved_index PROPERTIES
  POSITION_INDEPENDENT_CODE ON
  CXX_VISIBILITY_PRESET hidden
  VISIBILITY_INLINES_HIDDEN ON)

# The companion all-field store: every Unihan field of every code point,
# byte for byte, in an image of its own format answered in place. It needs
# nothing of the core library; its own shared library, SONAME and version
# script keep the other export tables as they are.
set(KELVORN_FIELDS_SOURCES
  src/app/files/Crc32.cpp
  src/app/files/FileDescriptor.cpp
  src/app/files/InputFile.cpp
  src/app/files/StagedOutput.cpp
  src/app/files/StagingRegistry.cpp
  src/app/files/UnihanTextFiles.cpp
  src/fields/MappedFile.cpp
  src/fields/FieldsImage.cpp
  src/fields/FieldsImageCheck.cpp
  src/fields/DataLine.cpp
  src/fields/TextSources.cpp
  src/fields/TextParser.cpp
  src/fields/ImageBuilder.cpp
  src/fields/UnihanFields.cpp
  src/fields/NearestName.cpp
  src/fields/VariantValues.cpp
  src/fields/ConversionTable.cpp
  src/fields/EnglishEndings.cpp
  src/fields/GlossIndex.cpp
  src/fields/SearchRank.cpp
  src/fields/ValueIndex.cpp
  src/fields/StoredLexicon.cpp
  src/fields/StoredLexiconWriter.cpp
  src/fields/LexiconState.cpp
  src/fields/UnihanLexicon.cpp
)
# Opening checks the tables in loops over every code point and record; GCC
# vectorizes them at -O2 only with a cost model that allows a scalar tail.
set_source_files_properties(src/fields/FieldsImageCheck.cpp PROPERTIES
  COMPILE_OPTIONS "$<$<CXX_COMPILER_ID:GNU>:-fvect-cost-model=dynamic>")

kelvorn_companion_library(kelvorn_unihan_fields unihan_fields
  ${PROJECT_SOURCE_DIR}/cmake/fields-exports.map ${KELVORN_FIELDS_SOURCES})

# The store is built from the bundled release; its tests also load the
# earlier one. cmake/Data.cmake unpacks both.
set(KELVORN_FIELDS_UNICODE_VERSION ${KELVORN_UNICODE_VERSION})
set(KELVORN_FIELDS_DATA_TXT ${KELVORN_DATA_TXT})
set(KELVORN_FIELDS_DATA15_TXT ${KELVORN_EARLIER_DATA_TXT})
add_custom_target(unihan_fields_data ALL)
add_dependencies(unihan_fields_data unihan_data)

# The image of the bundled data, made by the tool and installed next to the
# core's image (cmake/Install.cmake).
if(KELVORN_BUILD_TOOLS)
  set(KELVORN_FIELDS_IMAGE
    ${PROJECT_BINARY_DIR}/data/unihan-fields-${KELVORN_FIELDS_UNICODE_VERSION}.bin)
  add_custom_command(
    OUTPUT ${KELVORN_FIELDS_IMAGE}
    COMMAND unihan compile-fields ${KELVORN_FIELDS_DATA_TXT} -o ${KELVORN_FIELDS_IMAGE}
            --unicode-version ${KELVORN_FIELDS_UNICODE_VERSION}
    DEPENDS unihan ${KELVORN_FIELDS_DATA_TXT}
    COMMENT "Building the bundled all-field image of Unihan ${KELVORN_FIELDS_UNICODE_VERSION}"
    VERBATIM)
  add_custom_target(unihan_fields_image ALL DEPENDS ${KELVORN_FIELDS_IMAGE})
  add_dependencies(unihan_fields_image unihan_fields_data)

  # The reverse index of the two bundled images, saved beside them, so that
  # the tool's radical, strokes, reading and sort and Python's reverse
  # lookups open it instead of building it.
  set(KELVORN_SAVED_INDEX
    ${PROJECT_BINARY_DIR}/data/unihan-index-${KELVORN_FIELDS_UNICODE_VERSION}.bin)
  add_custom_command(
    OUTPUT ${KELVORN_SAVED_INDEX}
    COMMAND unihan --data ${PROJECT_BINARY_DIR}/data/${KELVORN_IMAGE_NAME} compile-index
            --fields-data ${KELVORN_FIELDS_IMAGE} -o ${KELVORN_SAVED_INDEX}
    DEPENDS unihan ${PROJECT_BINARY_DIR}/data/${KELVORN_IMAGE_NAME} ${KELVORN_FIELDS_IMAGE}
    COMMENT "Saving the reverse index of the bundled images"
    VERBATIM)
  add_custom_target(unihan_saved_index ALL DEPENDS ${KELVORN_SAVED_INDEX})
  add_dependencies(unihan_saved_index unihan_image unihan_fields_image)
endif()

# The grammars of the structured fields (src/fields/expand), which turn a raw
# value into a small tree of numbers, strings, arrays and objects. They are
# not part of the library's interface: the tool and the Python module link
# the objects themselves, so that both expand a value the same way.
add_library(kelvorn_field_grammar OBJECT
  src/fields/expand/Value.cpp
  src/fields/expand/Rule.cpp
  src/fields/expand/RuleReader.cpp
  src/fields/expand/RuleWriter.cpp
  src/fields/expand/FieldGrammar.cpp
  src/fields/VariantValues.cpp)
target_include_directories(kelvorn_field_grammar PUBLIC ${PROJECT_SOURCE_DIR}/src ${PROJECT_SOURCE_DIR}/include)
set_target_properties(kelvorn_field_grammar PROPERTIES
  POSITION_INDEPENDENT_CODE ON
  CXX_VISIBILITY_PRESET hidden
  VISIBILITY_INLINES_HIDDEN ON)

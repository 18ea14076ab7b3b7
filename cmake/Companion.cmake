# kelvorn_companion_library(TARGET EXPORT_NAME EXPORT_MAP SOURCE...): a shared
# library beside the core (the application API, the index, the all-field
# store), built the one way they all are: its own SONAME, hidden visibility,
# and a version script that lets out only what its public header promises.
function(kelvorn_companion_library target export_name export_map)
  add_library(${target} SHARED ${ARGN})
  add_library(kelvorn::${export_name} ALIAS ${target})
  target_include_directories(${target}
    PUBLIC
      $<BUILD_INTERFACE:${PROJECT_SOURCE_DIR}/include>
      $<INSTALL_INTERFACE:include>
    PRIVATE
      ${PROJECT_SOURCE_DIR}/src)
  target_link_options(${target} PRIVATE -Wl,--version-script=${export_map} -Wl,--no-undefined)
  set_target_properties(${target} PROPERTIES
    EXPORT_NAME ${export_name}
    VERSION ${PROJECT_VERSION}
    SOVERSION ${PROJECT_VERSION_MAJOR}
    LINK_DEPENDS ${export_map}
    CXX_VISIBILITY_PRESET hidden
    VISIBILITY_INLINES_HIDDEN ON)
endfunction()

#   vantry_module(<name> <area-library> [NO_INSTALL] [EXPORTS <function>...])
# Builds <build>/modules/<name>.so from an area's static library and, unless
# NO_INSTALL is given, installs it in the installed program's modules/. Only the
# exports (marked VANTRY_MODULE_EXPORT) are visible; the code of the module
# and of the libraries it links stays hidden, so two modules never bind to
# each other's copies. With EXPORTS, a version script makes exactly those
# functions global: the standard library's templates, instantiated for
# built-in types, carry default visibility whatever the compiler flags say.
function(vantry_module name area)
  cmake_parse_arguments(M "NO_INSTALL" "" "EXPORTS" ${ARGN})
  if(NOT TARGET ${area})
    return()
  endif()
  get_target_property(area_type ${area} TYPE)
  if(area_type STREQUAL "INTERFACE_LIBRARY")
    return()  # no sources yet
  endif()
  set_target_properties(${area} PROPERTIES CXX_VISIBILITY_PRESET hidden
                                           VISIBILITY_INLINES_HIDDEN ON)
  set(stub ${CMAKE_CURRENT_BINARY_DIR}/${name}_module.c)
  if(NOT EXISTS ${stub})
    file(WRITE ${stub} "/* The module's code comes from its area library. */\n")
  endif()
  add_library(${name} MODULE ${stub})
  target_link_libraries(${name} PRIVATE "$<LINK_LIBRARY:WHOLE_ARCHIVE,${area}>")
  # The module's own code is compiled hidden; the static libraries linked
  # in (model, foundation, platform) are hidden at link time. Excluding ALL
  # would also hide the exports, which come from the area archive.
  target_link_options(${name} PRIVATE
    -Wl,--exclude-libs,libmodulecommon.a:libmodel.a:libVelkLib.a:libplatform.a -Wl,--no-undefined)
  if(M_EXPORTS)
    list(JOIN M_EXPORTS "; " globals)
    set(script ${CMAKE_CURRENT_BINARY_DIR}/${name}.exports)
    file(CONFIGURE OUTPUT ${script} CONTENT "{\n  global: ${globals};\n  local: *;\n};\n")
    target_link_options(${name} PRIVATE -Wl,--version-script,${script})
    set_property(TARGET ${name} APPEND PROPERTY LINK_DEPENDS ${script})
  endif()
  set_target_properties(${name} PROPERTIES PREFIX "" SUFFIX ".so"
                        LIBRARY_OUTPUT_DIRECTORY ${VANTRY_MODULE_DIR})
  if(COMMAND vantry_version_record)
    vantry_version_record(${name})
  endif()
  if(NOT M_NO_INSTALL)
    install(TARGETS ${name} LIBRARY DESTINATION ${VANTRY_INSTALL_DIR}/modules)
  endif()
endfunction()

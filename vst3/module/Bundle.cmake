# vst3_add_bundle(<name> SOURCES <files...> LIBRARIES <targets...> RESOURCES <files...>)
#
# A plug-in's module and its bundle, built by the default target:
#   <name>.vst3/Contents/x86_64-linux/<name>.so
#   <name>.vst3/Contents/Resources/<the resource files>
# The module target is <name>; its sources hold the plug-in's entry points.
# Sets <name>_BUNDLE_DIR in the caller's scope and adds the install rules:
# `cmake --install <build> --component vst3` puts the bundle into
# <prefix>/lib/vst3 (use --prefix /usr for the system folder); the targets
# install-vst3-user and install-vst3-system copy it to ~/.vst3 and /usr/lib/vst3
# (one bundle per build owns those two names).
function(vst3_add_bundle name)
  cmake_parse_arguments(B "" "" "SOURCES;LIBRARIES;RESOURCES" ${ARGN})
  set(bundle_dir ${CMAKE_BINARY_DIR}/${name}.vst3)
  set(binary_dir ${bundle_dir}/Contents/x86_64-linux)
  set(resource_dir ${bundle_dir}/Contents/Resources)
  set(helpers ${CMAKE_CURRENT_FUNCTION_LIST_DIR})

  add_library(${name} MODULE ${B_SOURCES})
  target_link_libraries(${name} PRIVATE ${B_LIBRARIES} vst3_binding)
  set_target_properties(${name} PROPERTIES
    PREFIX ""
    OUTPUT_NAME ${name}
    LIBRARY_OUTPUT_DIRECTORY ${binary_dir}
    LINK_DEPENDS ${helpers}/exports.map)
  # Only the three entry points leave the module; everything else is bound
  # inside it, so other plug-ins' copies of the same names never interfere.
  target_link_options(${name} PRIVATE
    -Wl,--version-script=${helpers}/exports.map
    -Wl,--no-undefined
    -Wl,-Bsymbolic)

  add_custom_command(TARGET ${name} POST_BUILD
    COMMAND ${CMAKE_COMMAND} -E make_directory ${resource_dir}
    COMMAND ${CMAKE_COMMAND} -DDEST=${resource_dir} "-DFILES=${B_RESOURCES}"
            -P ${helpers}/CopyFiles.cmake
    VERBATIM)

  install(DIRECTORY ${bundle_dir} DESTINATION lib/vst3 COMPONENT vst3 USE_SOURCE_PERMISSIONS)
  add_custom_target(install-vst3-user
    COMMAND ${CMAKE_COMMAND} -DBUNDLE=${bundle_dir} -DPER_USER=ON -P ${helpers}/InstallBundle.cmake
    DEPENDS ${name} VERBATIM)
  add_custom_target(install-vst3-system
    COMMAND ${CMAKE_COMMAND} -DBUNDLE=${bundle_dir} -DDEST=/usr/lib/vst3
            -P ${helpers}/InstallBundle.cmake
    DEPENDS ${name} VERBATIM)
  set(${name}_BUNDLE_DIR ${bundle_dir} PARENT_SCOPE)
endfunction()

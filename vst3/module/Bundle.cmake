# The plug-in module and its bundle:
#   Grittlebox.vst3/Contents/x86_64-linux/Grittlebox.so
#   Grittlebox.vst3/Contents/Resources/<the editor's PNG files>
# built by the default target.
set(GRITTLEBOX_BUNDLE_DIR ${CMAKE_BINARY_DIR}/Grittlebox.vst3 CACHE INTERNAL "The built bundle")
set(bundle_binary_dir ${GRITTLEBOX_BUNDLE_DIR}/Contents/x86_64-linux)
set(bundle_resource_dir ${GRITTLEBOX_BUNDLE_DIR}/Contents/Resources)

add_library(Grittlebox MODULE
  ${CMAKE_CURRENT_SOURCE_DIR}/module/ModuleEntry.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/module/GrittleboxFactory.cpp)
target_link_libraries(Grittlebox PRIVATE grittlebox_effect vst3_binding)
set_target_properties(Grittlebox PROPERTIES
  PREFIX ""
  OUTPUT_NAME Grittlebox
  LIBRARY_OUTPUT_DIRECTORY ${bundle_binary_dir}
  LINK_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/module/exports.map)
# Only the three entry points leave the module; everything else is bound
# inside it, so other plug-ins' copies of the same names never interfere.
target_link_options(Grittlebox PRIVATE
  -Wl,--version-script=${CMAKE_CURRENT_SOURCE_DIR}/module/exports.map
  -Wl,--no-undefined
  -Wl,-Bsymbolic)

file(GLOB bundle_images CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/resources/img/*.png)
add_custom_command(TARGET Grittlebox POST_BUILD
  COMMAND ${CMAKE_COMMAND} -E make_directory ${bundle_resource_dir}
  COMMAND ${CMAKE_COMMAND} -DDEST=${bundle_resource_dir} "-DFILES=${bundle_images}"
          -P ${CMAKE_CURRENT_SOURCE_DIR}/module/CopyFiles.cmake
  VERBATIM)

# Installing: `cmake --install <build> --component vst3` puts the bundle into
# <prefix>/lib/vst3 (use --prefix /usr for the system folder); the targets
# install-vst3-user and install-vst3-system copy it to ~/.vst3 and /usr/lib/vst3.
install(DIRECTORY ${GRITTLEBOX_BUNDLE_DIR} DESTINATION lib/vst3 COMPONENT vst3
        USE_SOURCE_PERMISSIONS)
add_custom_target(install-vst3-user
  COMMAND ${CMAKE_COMMAND} -DBUNDLE=${GRITTLEBOX_BUNDLE_DIR} -DPER_USER=ON
          -P ${CMAKE_CURRENT_SOURCE_DIR}/module/InstallBundle.cmake
  DEPENDS Grittlebox VERBATIM)
add_custom_target(install-vst3-system
  COMMAND ${CMAKE_COMMAND} -DBUNDLE=${GRITTLEBOX_BUNDLE_DIR} -DDEST=/usr/lib/vst3
          -P ${CMAKE_CURRENT_SOURCE_DIR}/module/InstallBundle.cmake
  DEPENDS Grittlebox VERBATIM)

# cmake -DBUNDLE=<built Grittlebox.vst3> -DDEST=<VST 3 folder> -P InstallBundle.cmake
# Replaces any older copy of the bundle in DEST, so no stale file survives.
if(NOT EXISTS ${BUNDLE}/Contents/x86_64-linux)
  message(FATAL_ERROR "No built bundle at ${BUNDLE}")
endif()
get_filename_component(name ${BUNDLE} NAME)
file(MAKE_DIRECTORY ${DEST})
file(REMOVE_RECURSE ${DEST}/${name})
file(COPY ${BUNDLE} DESTINATION ${DEST} USE_SOURCE_PERMISSIONS)
message(STATUS "Installed ${DEST}/${name}")

# Reads the effect's name and version from its identity header, so that the
# build and the code never disagree: sets GRITTLEBOX_NAME and GRITTLEBOX_VERSION.
set(identity_header ${CMAKE_CURRENT_LIST_DIR}/include/effect/GrittleboxIdentity.h)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${identity_header})
file(READ ${identity_header} identity_text)

set(GRITTLEBOX_VERSION "")
foreach(part MAJOR MINOR PATCH)
  if(NOT identity_text MATCHES "#define GRITTLEBOX_VERSION_${part} ([0-9]+)")
    message(FATAL_ERROR "${identity_header} defines no GRITTLEBOX_VERSION_${part}")
  endif()
  list(APPEND GRITTLEBOX_VERSION ${CMAKE_MATCH_1})
endforeach()
list(JOIN GRITTLEBOX_VERSION "." GRITTLEBOX_VERSION)

if(NOT identity_text MATCHES "kEffectName = \"([A-Za-z0-9_-]+)\"")
  message(FATAL_ERROR "${identity_header} defines no kEffectName")
endif()
set(GRITTLEBOX_NAME ${CMAKE_MATCH_1})

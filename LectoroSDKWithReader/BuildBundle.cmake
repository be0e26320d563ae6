# Assembles the library bundle: a copy of resources/ and the text faces, under the names the
# reader registers ("OpenSans-SemiBold.ttf"). A face the system lacks is reported and skipped:
# the reader then falls back to other faces. The icon font ("LectoroIcons.ttf") is built into
# the bundle by its own step (cmake/LectoroIconFont.cmake).

file(MAKE_DIRECTORY ${BUNDLE_DIR})
file(COPY ${RESOURCES_DIR}/ DESTINATION ${BUNDLE_DIR})

function(copy_font source target)
  if(EXISTS ${source})
    file(COPY_FILE ${source} ${BUNDLE_DIR}/${target} ONLY_IF_DIFFERENT)
  else()
    message(STATUS "Font ${source} not found; ${target} is left out of the bundle")
  endif()
endfunction()

set(faces Regular Italic Light SemiBold Bold ExtraBold)
foreach(face ${faces})
  set(source ${OPEN_SANS_DIR}/OpenSans-${face}.ttf)
  if(face STREQUAL "SemiBold" AND NOT EXISTS ${source})
    # Debian names the face "Semibold".
    set(source ${OPEN_SANS_DIR}/OpenSans-Semibold.ttf)
  endif()
  copy_font(${source} OpenSans-${face}.ttf)
endforeach()

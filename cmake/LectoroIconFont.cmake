# The icon font, built from an open icon set (fonts-material-design-icons-iconfont) by
# scripts/make-icon-font.py with fontTools (python3-fonttools), both from scripts/install-deps.sh.
#
# lectoro_add_icon_font(<target> <bundle dir>)
# A target that writes LectoroIcons.ttf and its licence into the bundle, rebuilt when the glyph
# table, the glyph constants or the script change. LECTORO_ICON_FONT_SOURCE, when set, names a
# ready font to bundle instead; the target then copies it.

set(LECTORO_ICON_SET_FONT /usr/share/fonts/truetype/material-design-icons-iconfont/MaterialIcons-Regular.ttf
  CACHE FILEPATH "The icon set's font the icon font is built from")
set(LECTORO_ICON_SET_CODEPOINTS /usr/share/fonts-material-design-icons-iconfont/scss/_variables.scss
  CACHE FILEPATH "The icon set's icon names and code points")
set(LECTORO_ICON_SET_COPYRIGHT /usr/share/doc/fonts-material-design-icons-iconfont/copyright
  CACHE FILEPATH "The icon set's copyright file, kept beside the font")
set(LECTORO_ICON_SET_LICENCE /usr/share/common-licenses/Apache-2.0
  CACHE FILEPATH "The full text of the icon set's licence, kept beside the font")
set(LECTORO_ICON_FONT_SOURCE "" CACHE FILEPATH "A ready icon font to bundle instead of the one built from the icon set")

# A python3 that has fontTools: the system's own first, where Debian installs python3-fonttools
# (a python earlier on PATH, such as a per-user one, may lack it).
if(NOT LECTORO_PYTHON3)
  find_program(LECTORO_PATH_PYTHON3 python3)
  foreach(candidate /usr/bin/python3 ${LECTORO_PATH_PYTHON3})
    if(EXISTS ${candidate})
      execute_process(COMMAND ${candidate} -c "import fontTools" RESULT_VARIABLE status OUTPUT_QUIET ERROR_QUIET)
      if(status EQUAL 0)
        set(LECTORO_PYTHON3 ${candidate} CACHE FILEPATH "python3 with fontTools, which builds the icon font")
        break()
      endif()
    endif()
  endforeach()
endif()

function(lectoro_add_icon_font target bundle_dir)
  set(font ${bundle_dir}/LectoroIcons.ttf)
  set(licence ${bundle_dir}/LectoroIcons-LICENSE.txt)
  if(LECTORO_ICON_FONT_SOURCE)
    add_custom_command(OUTPUT ${font}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${bundle_dir}
      COMMAND ${CMAKE_COMMAND} -E copy ${LECTORO_ICON_FONT_SOURCE} ${font}
      DEPENDS ${LECTORO_ICON_FONT_SOURCE}
      COMMENT "Copying the icon font"
      VERBATIM)
    add_custom_target(${target} DEPENDS ${font})
    return()
  endif()
  if(NOT LECTORO_PYTHON3)
    message(FATAL_ERROR "The icon font needs python3 with fontTools: run scripts/install-deps.sh "
      "(python3-fonttools), or set LECTORO_PYTHON3")
  endif()
  foreach(input LECTORO_ICON_SET_FONT LECTORO_ICON_SET_CODEPOINTS)
    if(NOT EXISTS ${${input}})
      message(FATAL_ERROR "${${input}} not found: run scripts/install-deps.sh "
        "(fonts-material-design-icons-iconfont), or set ${input}")
    endif()
  endforeach()
  set(table ${PROJECT_SOURCE_DIR}/LectoroSDKWithReader/foundation/IconFontIcons.txt)
  set(header ${PROJECT_SOURCE_DIR}/LectoroSDKWithReader/foundation/IconFontGlyphs.h)
  set(script ${PROJECT_SOURCE_DIR}/scripts/make-icon-font.py)
  add_custom_command(OUTPUT ${font} ${licence}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${bundle_dir}
    COMMAND ${LECTORO_PYTHON3} ${script}
      --table ${table} --header ${header}
      --icons ${LECTORO_ICON_SET_FONT} --codepoints ${LECTORO_ICON_SET_CODEPOINTS}
      --copyright ${LECTORO_ICON_SET_COPYRIGHT} --licence-text ${LECTORO_ICON_SET_LICENCE}
      --family LectoroIcons --output ${font} --licence-output ${licence}
    DEPENDS ${script} ${table} ${header} ${LECTORO_ICON_SET_FONT} ${LECTORO_ICON_SET_CODEPOINTS}
    COMMENT "Building the icon font from the icon set"
    VERBATIM)
  add_custom_target(${target} DEPENDS ${font} ${licence})
endfunction()

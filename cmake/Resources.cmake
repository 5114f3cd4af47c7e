# Installation data copied into the build tree so that bin/gifmaker runs in place.
file(GLOB_RECURSE THEME_FILES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/Themes/*)
set(STAGED_RESOURCES)
foreach(src ${THEME_FILES})
  file(RELATIVE_PATH rel ${CMAKE_SOURCE_DIR} ${src})
  set(dst ${CMAKE_BINARY_DIR}/${rel})
  add_custom_command(OUTPUT ${dst} COMMAND ${CMAKE_COMMAND} -E copy_if_different ${src} ${dst}
                     DEPENDS ${src} VERBATIM)
  list(APPEND STAGED_RESOURCES ${dst})
endforeach()
add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/option.cfg
                   COMMAND ${CMAKE_COMMAND} -E copy_if_different ${CMAKE_SOURCE_DIR}/option.cfg ${CMAKE_BINARY_DIR}/option.cfg
                   DEPENDS ${CMAKE_SOURCE_DIR}/option.cfg VERBATIM)
list(APPEND STAGED_RESOURCES ${CMAKE_BINARY_DIR}/option.cfg)

# Message catalogs: Language/<lang>.po becomes Language/<lang>/language.mo, the
# place where wxFileTranslationsLoader looks for the catalog "language".
find_program(MSGFMT_EXECUTABLE msgfmt REQUIRED)
file(GLOB PO_FILES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/Language/*.po)
foreach(po ${PO_FILES})
  get_filename_component(lang ${po} NAME_WE)
  set(mo ${CMAKE_BINARY_DIR}/Language/${lang}/language.mo)
  add_custom_command(OUTPUT ${mo}
                     COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/Language/${lang}
                     COMMAND ${MSGFMT_EXECUTABLE} --check -o ${mo} ${po}
                     DEPENDS ${po} VERBATIM)
  list(APPEND STAGED_RESOURCES ${mo})
endforeach()

add_custom_target(resources ALL DEPENDS ${STAGED_RESOURCES})
add_dependencies(gifmaker resources)

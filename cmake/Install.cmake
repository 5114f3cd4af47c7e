# Installed layout (the Debian package's, with PREFIX /usr):
#   PREFIX/lib/brackwell-gifmaker/bin/gifmaker, gifmaker-cli
#   PREFIX/lib/brackwell-gifmaker/lib/gifmaker-ffmpeg.so   the video decoder
#   PREFIX/lib/brackwell-gifmaker/Themes/, Language/, option.cfg
#   PREFIX/bin/gifmaker, gifmaker-cli   relative links to the programs above
#   PREFIX/share/...                    desktop entry, icons, AppStream data,
#                                       MIME type, manual pages, copyright
# The program finds its data in the folder above its real executable, so its
# own folder keeps the shape of the build tree and PATH reaches it by links.
set(GIFMAKER_INSTALL_PRIVATEDIR "lib/brackwell-gifmaker" CACHE STRING
    "Folder of the program and its data, relative to the installation prefix")
set(GIFMAKER_APP_ID "example.brackwell.gifmaker")
set(GIFMAKER_PROJECT_MIME_TYPE "application/x-brackwell-gifmaker-project")
set(private ${GIFMAKER_INSTALL_PRIVATEDIR})

install(TARGETS gifmaker gifmaker-cli RUNTIME DESTINATION ${private}/bin)
install(TARGETS gifmaker_ffmpeg LIBRARY DESTINATION ${private}/lib)
install(DIRECTORY ${CMAKE_SOURCE_DIR}/Themes/ DESTINATION ${private}/Themes PATTERN README EXCLUDE)
# The compiled catalogs, Language/<lang>/language.mo (see Resources.cmake).
install(DIRECTORY ${CMAKE_BINARY_DIR}/Language/ DESTINATION ${private}/Language)
install(FILES ${CMAKE_SOURCE_DIR}/option.cfg DESTINATION ${private})

file(RELATIVE_PATH program_from_bindir /${CMAKE_INSTALL_BINDIR} /${private}/bin)
foreach(program gifmaker gifmaker-cli)
  install(CODE "
    set(link \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/${program}\")
    file(MAKE_DIRECTORY \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}\")
    message(STATUS \"Installing: \${link}\")
    file(CREATE_LINK \"${program_from_bindir}/${program}\" \"\${link}\" SYMBOLIC)
  ")
endforeach()

# Desktop menu entry; it names the program by its installed path, which is
# known only at install time (cmake --install --prefix).
install(CODE "
  set(GIFMAKER_PROGRAM \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/gifmaker\")
  set(GIFMAKER_PROJECT_MIME_TYPE \"${GIFMAKER_PROJECT_MIME_TYPE}\")
  configure_file(\"${CMAKE_SOURCE_DIR}/packaging/brackwell-gifmaker.desktop.in\"
                 \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_DATADIR}/applications/brackwell-gifmaker.desktop\"
                 @ONLY)
  message(STATUS \"Installing: \$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_DATADIR}/applications/brackwell-gifmaker.desktop\")
")
foreach(size 16x16 32x32 48x48 64x64)
  install(FILES ${CMAKE_SOURCE_DIR}/packaging/icons/${size}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}/apps
          RENAME brackwell-gifmaker.png)
endforeach()
install(FILES ${CMAKE_SOURCE_DIR}/packaging/brackwell-gifmaker-mime.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages RENAME brackwell-gifmaker.xml)

# Files that carry the version and release date. The release is dated by its
# last commit (or SOURCE_DATE_EPOCH), so that building again gives the same
# files.
if(NOT DEFINED ENV{SOURCE_DATE_EPOCH})
  execute_process(COMMAND git log -1 --format=%ct WORKING_DIRECTORY ${CMAKE_SOURCE_DIR}
                  OUTPUT_VARIABLE commit_time OUTPUT_STRIP_TRAILING_WHITESPACE
                  RESULT_VARIABLE git_result ERROR_QUIET)
  if(git_result EQUAL 0 AND commit_time)
    set(ENV{SOURCE_DATE_EPOCH} ${commit_time})
  endif()
endif()
string(TIMESTAMP GIFMAKER_RELEASE_DATE "%Y-%m-%d" UTC)
string(TIMESTAMP GIFMAKER_RELEASE_TIME "%a, %d %b %Y %H:%M:%S +0000" UTC)
set(generated ${CMAKE_BINARY_DIR}/packaging)
configure_file(${CMAKE_SOURCE_DIR}/packaging/brackwell-gifmaker.metainfo.xml.in
               ${generated}/${GIFMAKER_APP_ID}.metainfo.xml @ONLY)
install(FILES ${generated}/${GIFMAKER_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# Manual pages and the changelog compressed as Debian wants them: gzip -9,
# without a name or time stamp inside.
find_program(GZIP_EXECUTABLE gzip REQUIRED)
set(compressed)
foreach(page gifmaker.1 gifmaker-cli.1)
  configure_file(${CMAKE_SOURCE_DIR}/packaging/man/${page}.in ${generated}/${page} @ONLY)
  list(APPEND compressed ${page})
endforeach()
configure_file(${CMAKE_SOURCE_DIR}/packaging/changelog.in ${generated}/changelog @ONLY)
list(APPEND compressed changelog)
set(compressed_outputs)
foreach(file ${compressed})
  add_custom_command(OUTPUT ${generated}/${file}.gz
                     COMMAND ${GZIP_EXECUTABLE} -9nfk ${generated}/${file}
                     DEPENDS ${generated}/${file} VERBATIM)
  list(APPEND compressed_outputs ${generated}/${file}.gz)
endforeach()
add_custom_target(packaging_files ALL DEPENDS ${compressed_outputs})
install(FILES ${generated}/gifmaker.1.gz ${generated}/gifmaker-cli.1.gz
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${generated}/changelog.gz ${CMAKE_SOURCE_DIR}/packaging/copyright
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/brackwell-gifmaker)

# The installed tree has the same shape as the build tree: PREFIX/bin/gifmaker
# with Themes/, Language/ and option.cfg in PREFIX itself.
install(TARGETS gifmaker RUNTIME DESTINATION bin)
if(TARGET gifmaker-cli)
  install(TARGETS gifmaker-cli RUNTIME DESTINATION bin)
endif()
install(DIRECTORY ${CMAKE_SOURCE_DIR}/Themes/ DESTINATION Themes PATTERN README EXCLUDE)
# The compiled catalogs, Language/<lang>/language.mo (see Resources.cmake).
install(DIRECTORY ${CMAKE_BINARY_DIR}/Language/ DESTINATION Language)
install(FILES ${CMAKE_SOURCE_DIR}/option.cfg DESTINATION .)

# Desktop menu entry and icon. The entry names the program by its installed
# path, which is known only at install time (cmake --install --prefix).
foreach(size 16x16 32x32 48x48 64x64)
  install(FILES ${CMAKE_SOURCE_DIR}/packaging/icons/${size}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}/apps
          RENAME brackwell-gifmaker.png)
endforeach()
install(CODE "
  set(GIFMAKER_PROGRAM \"\${CMAKE_INSTALL_PREFIX}/bin/gifmaker\")
  configure_file(\"${CMAKE_SOURCE_DIR}/packaging/brackwell-gifmaker.desktop.in\"
                 \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_DATADIR}/applications/brackwell-gifmaker.desktop\"
                 @ONLY)
  message(STATUS \"Installing: \$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_DATADIR}/applications/brackwell-gifmaker.desktop\")
")

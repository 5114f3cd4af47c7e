# The installed tree has the same shape as the build tree: PREFIX/bin/gifmaker
# with Themes/, Language/ and option.cfg in PREFIX itself.
install(TARGETS gifmaker RUNTIME DESTINATION bin)
if(TARGET gifmaker-cli)
  install(TARGETS gifmaker-cli RUNTIME DESTINATION bin)
endif()
install(DIRECTORY ${CMAKE_SOURCE_DIR}/Themes/ DESTINATION Themes)
install(DIRECTORY ${CMAKE_BINARY_DIR}/Language/ DESTINATION Language OPTIONAL)
install(FILES ${CMAKE_SOURCE_DIR}/option.cfg DESTINATION .)

# One interface target per set of toolkit libraries, so that each of our
# libraries links only the part of wxWidgets it uses:
#   wx::base  strings, files, streams, threads (no display)
#   wx::xml   base + the XML parser
#   wx::core  base + images and the GUI core
#   wx::gui   everything the desktop program uses
function(gifmaker_add_wx_target name)
  find_package(wxWidgets 3.2 REQUIRED COMPONENTS ${ARGN})
  add_library(${name} INTERFACE IMPORTED GLOBAL)
  target_link_libraries(${name} INTERFACE ${wxWidgets_LIBRARIES})
  target_include_directories(${name} SYSTEM INTERFACE ${wxWidgets_INCLUDE_DIRS})
  target_compile_definitions(${name} INTERFACE ${wxWidgets_DEFINITIONS})
  separate_arguments(flags UNIX_COMMAND "${wxWidgets_CXX_FLAGS}")
  target_compile_options(${name} INTERFACE ${flags})
endfunction()

gifmaker_add_wx_target(wx::base base)
gifmaker_add_wx_target(wx::xml xml base)
gifmaker_add_wx_target(wx::core core base)
gifmaker_add_wx_target(wx::gui xrc html qa adv core xml net base)

# The browser's dialog (portable, through the shell interface) and the
# program entry tessaly, the only part that links Qt.
if(NOT TARGET kv_browser OR NOT TARGET kv_shell)
  return()
endif()
add_library(kv_browser_dialog STATIC browser_dialog.cpp browser_dialog_template.cpp browser_dialog_tree.cpp)
target_include_directories(kv_browser_dialog PUBLIC ${CMAKE_SOURCE_DIR}/src)
target_link_libraries(kv_browser_dialog PUBLIC kv_browser kv_shell PRIVATE kv_warnings)

if(KV_GUI AND TARGET kv_qt)
  add_executable(tessaly tessaly_main.cpp)
  target_link_libraries(tessaly PRIVATE kv_browser_dialog kv_qt kv_cli kv_warnings)
endif()

# On Windows the same dialog runs on the system's own shell.
if(WIN32 AND TARGET kv_win32)
  # Dialog 101 comes from the resource script.
  add_executable(tessaly WIN32 tessaly_win32_main.cpp tessaly.rc)
  target_link_libraries(tessaly PRIVATE kv_browser_dialog kv_win32 kv_warnings)
endif()

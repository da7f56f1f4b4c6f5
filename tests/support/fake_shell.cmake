# The scripted fake shell; included by this folder's CMakeLists.txt into
# the testsupport library.
target_sources(testsupport PRIVATE ${CMAKE_CURRENT_LIST_DIR}/fake_shell.cpp)
if(TARGET kv_shell)
  target_link_libraries(testsupport PUBLIC kv_shell)
endif()

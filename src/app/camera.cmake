# The viewer's free-flying FreeCamera, a Camera of the renderer's.
add_library(kv_camera STATIC ${CMAKE_CURRENT_LIST_DIR}/camera.cpp)
target_include_directories(kv_camera PUBLIC ${CMAKE_SOURCE_DIR}/src)
target_link_libraries(kv_camera PUBLIC kv_render kv_d3d8 kv_sys PRIVATE kv_warnings)

# The main frame and the application object, and the viewer program.
add_library(tyld_app STATIC
  ${CMAKE_CURRENT_LIST_DIR}/child_frame.cpp
  ${CMAKE_CURRENT_LIST_DIR}/guide_dialogs.cpp
  ${CMAKE_CURRENT_LIST_DIR}/main_frame.cpp
  ${CMAKE_CURRENT_LIST_DIR}/main_menus.cpp
  ${CMAKE_CURRENT_LIST_DIR}/recent_files.cpp
  ${CMAKE_CURRENT_LIST_DIR}/tyld_app.cpp
  ${CMAKE_CURRENT_LIST_DIR}/window_metrics.cpp)
target_link_libraries(tyld_app PUBLIC tyld_app_core tyld_settings tyld_platform tyld_ascii_ui tyld_binary_ui)
tyld_warnings(tyld_app)

add_executable(tyld ${CMAKE_CURRENT_LIST_DIR}/tyld_main.cpp)
target_link_libraries(tyld PRIVATE tyld_app)
set_target_properties(tyld PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${PROJECT_BINARY_DIR}/src/app)
tyld_warnings(tyld)

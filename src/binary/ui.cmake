# The binary screen's widget and the state it shares with tyld-render.
add_library(tyld_binary_ui STATIC
  ${CMAKE_CURRENT_LIST_DIR}/binary_screen.cpp
  ${CMAKE_CURRENT_LIST_DIR}/hex_pos_cal.cpp
  ${CMAKE_CURRENT_LIST_DIR}/save_data.cpp
  ${CMAKE_CURRENT_LIST_DIR}/tyld_view.cpp)
target_link_libraries(tyld_binary_ui PUBLIC tyld_binary tyld_binary_dialogs tyld_platform tyld_app_core
  tyld_settings tyld_search_ui tyld_search)
tyld_warnings(tyld_binary_ui)

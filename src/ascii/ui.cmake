# The ASCII screen's widget and the state it shares with tyld-render.
add_library(tyld_ascii_ui STATIC
  ${CMAKE_CURRENT_LIST_DIR}/ascii_screen.cpp
  ${CMAKE_CURRENT_LIST_DIR}/asc_draw.cpp)
target_link_libraries(tyld_ascii_ui PUBLIC tyld_ascii tyld_ascii_dialogs tyld_binary_dialogs tyld_mail
  tyld_platform tyld_app_core tyld_settings tyld_search_ui tyld_search)
tyld_warnings(tyld_ascii_ui)

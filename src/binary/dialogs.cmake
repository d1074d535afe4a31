# Dialogs of the binary screen and those both screens share (Qt Widgets).
add_library(tyld_binary_dialogs STATIC
  ${CMAKE_CURRENT_LIST_DIR}/dialog_parts.cpp
  ${CMAKE_CURRENT_LIST_DIR}/page_form_dialog.cpp
  ${CMAKE_CURRENT_LIST_DIR}/page_dialogs.cpp
  ${CMAKE_CURRENT_LIST_DIR}/pform_stb.cpp
  ${CMAKE_CURRENT_LIST_DIR}/screen_steps.cpp)
target_link_libraries(tyld_binary_dialogs PUBLIC tyld_platform)
target_include_directories(tyld_binary_dialogs PUBLIC ${PROJECT_SOURCE_DIR}/src)
tyld_warnings(tyld_binary_dialogs)

# Dialogs of the ASCII screen (Qt Widgets); the page format dialog builds on the shared one.
add_library(tyld_ascii_dialogs STATIC
  ${CMAKE_CURRENT_LIST_DIR}/pform_set.cpp)
target_link_libraries(tyld_ascii_dialogs PUBLIC tyld_binary_dialogs)
target_include_directories(tyld_ascii_dialogs PUBLIC ${PROJECT_SOURCE_DIR}/src)
tyld_warnings(tyld_ascii_dialogs)

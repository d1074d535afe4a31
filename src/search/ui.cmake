# The search dialogs and the byte-tool windows (Qt Widgets); the logic is tyld_search.
add_library(tyld_search_ui STATIC
  ${CMAKE_CURRENT_LIST_DIR}/byte_ment.cpp
  ${CMAKE_CURRENT_LIST_DIR}/byte_srch.cpp
  ${CMAKE_CURRENT_LIST_DIR}/dialog_support.cpp
  ${CMAKE_CURRENT_LIST_DIR}/entry_colour_dialog.cpp
  ${CMAKE_CURRENT_LIST_DIR}/gbyte_srch.cpp
  ${CMAKE_CURRENT_LIST_DIR}/str_srch.cpp)
target_link_libraries(tyld_search_ui PUBLIC tyld_search tyld_binary_dialogs tyld_platform)
target_include_directories(tyld_search_ui PUBLIC ${PROJECT_SOURCE_DIR}/src)
tyld_warnings(tyld_search_ui)

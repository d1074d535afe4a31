tyld_add_test(tyld_search_dialog_tests
  ${CMAKE_CURRENT_LIST_DIR}/search_dialog_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/tool_windows_dialog_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/save_data_dialog_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/screen_wiring_dialog_test.cpp)

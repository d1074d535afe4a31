tyld_add_test(tyld_binary_dialogs_tests
  ${CMAKE_CURRENT_LIST_DIR}/page_dialogs_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/pform_stb_test.cpp)

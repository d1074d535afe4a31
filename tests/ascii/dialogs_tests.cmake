tyld_add_test(tyld_ascii_dialogs_tests ${CMAKE_CURRENT_LIST_DIR}/pform_set_test.cpp)

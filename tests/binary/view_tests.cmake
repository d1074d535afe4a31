tyld_add_test(tyld_tyld_view_tests ${CMAKE_CURRENT_LIST_DIR}/tyld_view_test.cpp)

tyld_add_test(tyld_asc_draw_tests ${CMAKE_CURRENT_LIST_DIR}/asc_draw_test.cpp)

tyld_add_test(tyld_main_frame_tests ${CMAKE_CURRENT_LIST_DIR}/main_frame_test.cpp)

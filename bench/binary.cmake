tyld_add_bench(tyld_binary_bench ${CMAKE_CURRENT_LIST_DIR}/binary_page_bench.cpp)

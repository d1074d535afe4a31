tyld_add_bench(tyld_binary_bench tyld_binary ${CMAKE_CURRENT_LIST_DIR}/binary_page_bench.cpp)

tyld_add_bench(tyld_search_bench tyld_search ${CMAKE_CURRENT_LIST_DIR}/search_bench.cpp)

tyld_add_bench(tyld_view_bench tyld_app ${CMAKE_CURRENT_LIST_DIR}/view_bench.cpp)

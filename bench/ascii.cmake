tyld_add_bench(tyld_ascii_bench tyld_ascii ${CMAKE_CURRENT_LIST_DIR}/ascii_text_model_bench.cpp)

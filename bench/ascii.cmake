tyld_add_bench(tyld_ascii_bench ${CMAKE_CURRENT_LIST_DIR}/ascii_text_model_bench.cpp)

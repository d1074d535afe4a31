tyld_add_bench(tyld_mail_bench tyld_mail ${CMAKE_CURRENT_LIST_DIR}/mail_decode_bench.cpp)

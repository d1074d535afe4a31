# The ASCII screen's widget.
add_library(tyld_ascii_ui STATIC
  ${CMAKE_CURRENT_LIST_DIR}/asc_draw.cpp)
target_link_libraries(tyld_ascii_ui PUBLIC tyld_platform tyld_app_core tyld_settings)
tyld_warnings(tyld_ascii_ui)

# The pure texts and colours of the printer list, the bottom views, the banner and the status line.
vantrel_test(ui_lists_tests
  ${CMAKE_CURRENT_LIST_DIR}/lists_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/lists_views_test.cpp)
target_link_libraries(ui_lists_tests PRIVATE vantrel_ui vantrel_app vantrel_reports vantrel_fixes vantrel_history
  vantrel_collect vantrel_net vantrel_core comctl32 gdi32 user32)

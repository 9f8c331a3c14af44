# The update bar, the notes window and the Settings page: their texts and positions, and the real
# windows under Wine.
vantrel_test(ui_secondary_tests
  ${CMAKE_CURRENT_LIST_DIR}/secondary_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/secondary_window_test.cpp)
target_link_libraries(ui_secondary_tests PRIVATE vantrel_ui vantrel_app vantrel_reports vantrel_fixes vantrel_history
                      vantrel_collect vantrel_net vantrel_core comctl32 gdi32 user32)

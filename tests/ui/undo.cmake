# History & Undo, Save Report and Details in the real window, driven from another process.
vantrel_test(ui_undo_tests
  ${CMAKE_CURRENT_LIST_DIR}/undo_support_win.cpp
  ${CMAKE_CURRENT_LIST_DIR}/undo_run_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/report_run_test.cpp)
target_link_libraries(ui_undo_tests PRIVATE vantrel_ui vantrel_app vantrel_reports vantrel_fixes vantrel_history
                      vantrel_collect vantrel_net vantrel_core comctl32 gdi32 user32 winspool)

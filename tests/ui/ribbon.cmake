# The ribbon: its tables, layout, looks and input as plain functions, and the real window with its
# icon font under Wine. The resource script comes along for the icon font and the manifest.
vantrel_test(ui_ribbon_tests
  ribbon_test.cpp
  ribbon_window_test.cpp
  ${CMAKE_SOURCE_DIR}/res/vantrel.rc)
target_link_libraries(ui_ribbon_tests PRIVATE vantrel_ui vantrel_app vantrel_reports vantrel_fixes vantrel_history
                      vantrel_collect vantrel_net vantrel_core comctl32 gdi32 user32 ole32 shell32 ws2_32 advapi32)

# The interface's parts in this process: the lists, the main layout and command table, the ribbon
# and the secondary windows as plain functions, then the ribbon, update bar, Settings page and notes
# window as real windows under Wine. The resource script brings the icon font and the manifest.
vantrel_test(ui_parts_tests
  ${CMAKE_CURRENT_LIST_DIR}/lists_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/window_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ribbon_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/secondary_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/parts_window_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/fix_commands_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/parts_main.cpp
  ${CMAKE_SOURCE_DIR}/res/vantrel.rc)
target_link_libraries(ui_parts_tests PRIVATE vantrel_app vantrel_ui vantrel_reports vantrel_fixes vantrel_history
                      vantrel_collect vantrel_net vantrel_core comctl32 gdi32 user32 ole32 oleacc oleaut32 shell32 ws2_32 advapi32)

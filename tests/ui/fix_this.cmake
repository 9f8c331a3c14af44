# Fix This and the fix commands: the pure choices and plans, and the questions in order with the
# interface services swapped for recorders.
vantrel_test(fix_this_tests
  ${CMAKE_CURRENT_LIST_DIR}/fix_this_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/fix_this_flow_test.cpp)
target_link_libraries(fix_this_tests PRIVATE vantrel_fixes vantrel_net vantrel_history vantrel_core
  shell32 user32 advapi32)

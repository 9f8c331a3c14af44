# Sharing and help: the share message and every method's address, the Share window's table, the help
# texts and the About box as functions; then the real Share window of a running demonstration
# window, with a stand-in registered for every link it opens.
vantrel_test(share_tests
  ${CMAKE_SOURCE_DIR}/tests/share/share_message_test.cpp
  ${CMAKE_SOURCE_DIR}/tests/share/help_texts_test.cpp
  ${CMAKE_SOURCE_DIR}/tests/share/share_run_test.cpp)
target_link_libraries(share_tests PRIVATE vantrel_ui vantrel_share vantrel_app vantrel_update vantrel_reports
                      vantrel_fixes vantrel_history vantrel_collect vantrel_net vantrel_core comctl32 gdi32 user32
                      shell32 advapi32)

# Not a test: the stand-in browser, mail and texting program the run test registers.
add_executable(share_capture ${CMAKE_SOURCE_DIR}/tests/share/capture_open.cpp)
target_link_options(share_capture PRIVATE -municode)
add_dependencies(share_tests share_capture)

# The real Vantrel.exe driven from another process: the main window in demonstration mode and on the
# test PC, with History & Undo, Save Report and Details.
vantrel_test(ui_run_tests
  ${CMAKE_CURRENT_LIST_DIR}/window_run_test.cpp)
target_link_libraries(ui_run_tests PRIVATE vantrel_ui vantrel_app vantrel_reports vantrel_fixes vantrel_history
                      vantrel_collect vantrel_net vantrel_core comctl32 gdi32 user32 shell32 winspool)
# Save Report onto a full disk uses the small disk of the report tests (tests/reports).
set_tests_properties(ui_run_tests PROPERTIES FIXTURES_REQUIRED small_disk)
set_property(TEST ui_run_tests APPEND PROPERTY ENVIRONMENT "VANTREL_SMALL_DISK=${CMAKE_BINARY_DIR}/small_disk")

# Not a test: the screenshot script (tools/screenshots.sh) switches views with it.
add_executable(send_command ${CMAKE_CURRENT_LIST_DIR}/send_command.cpp)
target_link_options(send_command PRIVATE -municode)
target_link_libraries(send_command PRIVATE vantrel_test_support)

# Not a test: bench/start-time.sh times the first verdict with it.
add_executable(first_verdict ${CMAKE_CURRENT_LIST_DIR}/first_verdict.cpp)
target_link_options(first_verdict PRIVATE -municode)
target_link_libraries(first_verdict PRIVATE vantrel_test_support vantrel_ui gdi32)

# The same program's small-screen case on a display and prefix of its own: a 1600 x 1000 screen at
# 150 % (tools/sandbox.sh run inside the harness's sandbox makes them).
add_test(NAME ui_small_screen
         COMMAND env VANTREL_SCREEN=1600x1000 VANTREL_LOGPIXELS=144 ${CMAKE_SOURCE_DIR}/tools/sandbox.sh
                 ${CMAKE_BINARY_DIR}/wine-small ${CMAKE_SOURCE_DIR}/tools/wine-run.sh $<TARGET_FILE:ui_run_tests>
                 --gtest_filter=WindowRun.SmallScreen*)
set_tests_properties(ui_small_screen PROPERTIES TIMEOUT 300
  ENVIRONMENT "VANTREL_EXE=$<TARGET_FILE:Vantrel>;VANTREL_DESKTOP_KEEPER=$<TARGET_FILE:desktop_keeper>")

# Not a test: the anchor bench/start-time.sh sets the window's start, memory and idle CPU beside.
add_executable(empty_window WIN32 ${CMAKE_CURRENT_LIST_DIR}/empty_window.cpp)
target_link_options(empty_window PRIVATE -municode)

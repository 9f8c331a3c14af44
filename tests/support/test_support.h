// Helpers shared by the test programs: starting the real Vantrel.exe as a second process with
// bounded waits, finding its windows, and clearing the settings key the tests write.
#pragma once

#include <windows.h>

#include <string>

// The Windows path of a file the harness names in an environment variable as a Unix path ("" when
// the variable is not set).
std::wstring path_from_environment(const wchar_t* variable);

// Windows path of the Vantrel.exe under test (from VANTREL_EXE).
std::wstring vantrel_exe_path();

// Starts Vantrel.exe with the arguments; returns the process handle (null on failure).
HANDLE start_vantrel(const std::wstring& arguments, DWORD* pid = nullptr);

// Runs Vantrel.exe and waits at most timeout_ms. Returns its exit code, or 0xFFFFFFFF when it did
// not end in time (it is then killed) or could not be started.
DWORD run_vantrel(const std::wstring& arguments, DWORD timeout_ms);

// The top-level window of that class belonging to the process, waiting at most timeout_ms.
HWND wait_for_window(DWORD pid, const wchar_t* class_name, DWORD timeout_ms);

// Asks the window to close and waits for its process; kills it when it does not go in time.
void close_and_wait(HWND window, HANDLE process, DWORD timeout_ms);

// Makes this thread per-monitor DPI aware, so the rectangles it reads of a per-monitor aware
// window are its real pixels rather than ones scaled for a DPI-unaware reader.
void use_physical_pixels();

// Removes HKCU\Software\Corvalen\Vantrel with everything below it.
void delete_settings_key();

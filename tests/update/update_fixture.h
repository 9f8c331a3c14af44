// What the update tests share: the release server's address and files (tests/update/update_server.py,
// started by CTest around this program) and the test certificate authority trusted in this Wine
// prefix only.
#pragma once

#include <windows.h>

#include <string>

// The server's state folder (from VANTREL_UPDATE_SERVER) and its base address, "" when not set.
std::wstring server_dir();
std::wstring server_url(const wchar_t* path);
// The 1.2.0 file's SHA-256 as the server computed it.
std::wstring good_sha256();
bool trust_test_ca();                               // adds the test CA to the prefix's ROOT store once
std::string server_requests();                      // the server's request log
std::wstring file_sha256(const std::wstring& path); // lower-case hex, "" when unreadable
bool file_exists(const std::wstring& path);

// What the update tests share: the release server's state folder (tests/update/update_server.py,
// started by CTest around this program), the test certificate authority trusted in this Wine prefix
// only, and the download refusals by the word that tells them apart.
#pragma once

#include <gtest/gtest.h>

#include <windows.h>

#include <wincrypt.h>

#include <string>

#include "tests/support/test_pc.h"
#include "tests/support/test_support.h"
#include "update/update.h"

inline std::wstring server_file(const wchar_t* name) {
    return from_utf8(read_test_file(path_from_environment(L"VANTREL_UPDATE_SERVER") + L"\\" + name));
}
inline std::wstring server_url(const wchar_t* path) {
    return server_file(L"base_url") + path;
}

inline std::wstring file_sha256(const std::wstring& path) {
    wchar_t hex[65];
    return sha256_file_hex(path.c_str(), hex, 65) ? std::wstring(hex) : std::wstring();
}
inline bool file_exists(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// "size", "checksum", "version" or "incomplete" for the download's refusals; any other sentence as it is.
inline std::wstring refusal(const std::wstring& error) {
    for (const wchar_t* word : {L"size", L"checksum", L"version", L"incomplete"})
        if (error.rfind(L"The downloaded file ", 0) == 0 && error.find(word) != std::wstring::npos)
            return word;
    return error;
}

// Requires the server and trusts its CA (in the prefix's machine ROOT store).
class UpdateServerTest : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string der = read_test_file(path_from_environment(L"VANTREL_UPDATE_SERVER") + L"\\ca.der");
        ASSERT_NE("(no file)", der) << "the release server is not running (VANTREL_UPDATE_SERVER)";
        HCERTSTORE store =
            CertOpenStore(CERT_STORE_PROV_SYSTEM_W, 0, 0, CERT_SYSTEM_STORE_LOCAL_MACHINE, L"Root");
        ASSERT_TRUE(store && CertAddEncodedCertificateToStore(store, X509_ASN_ENCODING,
                                                              (const BYTE*)der.data(), (DWORD)der.size(),
                                                              CERT_STORE_ADD_REPLACE_EXISTING, nullptr));
        CertCloseStore(store, 0);
    }
};

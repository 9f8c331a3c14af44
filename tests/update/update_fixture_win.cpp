// The update tests' shared helpers (see update_fixture.h).
#include "tests/update/update_fixture.h"

#include <wincrypt.h>

#include "tests/support/test_pc.h"
#include "tests/support/test_support.h"
#include "update/update.h"

std::wstring server_dir() {
    return path_from_environment(L"VANTREL_UPDATE_SERVER");
}
std::wstring server_url(const wchar_t* path) {
    std::string base = read_test_file(server_dir() + L"\\base_url");
    return base == "(no file)" ? L"" : from_utf8(base) + path;
}
std::wstring good_sha256() {
    return from_utf8(read_test_file(server_dir() + L"\\good.sha256"));
}
std::string server_requests() {
    return read_test_file(server_dir() + L"\\requests.log");
}

bool trust_test_ca() {
    static bool trusted = false;
    if (trusted) return true;
    std::string der = read_test_file(server_dir() + L"\\ca.der");
    if (der == "(no file)" || der.empty()) return false;
    HCERTSTORE store =
        CertOpenStore(CERT_STORE_PROV_SYSTEM_W, 0, 0, CERT_SYSTEM_STORE_LOCAL_MACHINE, L"Root");
    if (!store) return false;
    trusted =
        CertAddEncodedCertificateToStore(store, X509_ASN_ENCODING, (const BYTE*)der.data(), (DWORD)der.size(),
                                         CERT_STORE_ADD_REPLACE_EXISTING, nullptr) != FALSE;
    CertCloseStore(store, 0);
    return trusted;
}

std::wstring file_sha256(const std::wstring& path) {
    wchar_t hex[65];
    return sha256_file_hex(path.c_str(), hex, 65) ? std::wstring(hex) : std::wstring();
}
bool file_exists(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

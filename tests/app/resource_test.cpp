// What the executable carries: the version strings a later self-update reads, the seven-size icon
// and the manifest. Read from the built Vantrel.exe with Windows' own resource functions.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "tests/support/test_support.h"

namespace {
std::wstring version_string(const std::vector<BYTE>& block, const wchar_t* name) {
    std::wstring path = std::wstring(L"\\StringFileInfo\\040904B0\\") + name;
    wchar_t* value = nullptr;
    UINT len = 0;
    if (!VerQueryValueW(block.data(), path.c_str(), reinterpret_cast<void**>(&value), &len) || !value)
        return L"";
    return std::wstring(value);
}

struct Module {
    HMODULE handle;
    Module() : handle(LoadLibraryExW(vantrel_exe_path().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE)) {}
    ~Module() {
        if (handle) FreeLibrary(handle);
    }
    std::string resource(LPCWSTR type, LPCWSTR name) const {
        HRSRC found = FindResourceW(handle, name, type);
        if (!found) return {};
        HGLOBAL loaded = LoadResource(handle, found);
        const char* data = static_cast<const char*>(LockResource(loaded));
        return data ? std::string(data, SizeofResource(handle, found)) : std::string();
    }
};
} // namespace

TEST(Resources, VersionStringsAreWhereAnUpdateLooksForThem) {
    std::wstring exe = vantrel_exe_path();
    DWORD ignored = 0;
    DWORD size = GetFileVersionInfoSizeW(exe.c_str(), &ignored);
    ASSERT_GT(size, 0u);
    std::vector<BYTE> block(size);
    ASSERT_TRUE(GetFileVersionInfoW(exe.c_str(), 0, size, block.data()));
    EXPECT_EQ(L"Vantrel", version_string(block, L"ProductName"));
    EXPECT_EQ(L"1.1.0", version_string(block, L"ProductVersion"));
}

TEST(Resources, TheIconHasSevenSizes) {
    Module m;
    ASSERT_NE(nullptr, m.handle);
    std::string group = m.resource(RT_GROUP_ICON, MAKEINTRESOURCEW(1));
    ASSERT_GE(group.size(), 6u);
    int count = (unsigned char)group[4] | ((unsigned char)group[5] << 8);
    EXPECT_EQ(7, count);
    EXPECT_EQ(6u + 14u * 7u, group.size());
}

TEST(Resources, TheManifestAsksForWhatTheProgramNeeds) {
    Module m;
    ASSERT_NE(nullptr, m.handle);
    std::string manifest = m.resource(RT_MANIFEST, MAKEINTRESOURCEW(1));
    ASSERT_FALSE(manifest.empty());
    for (const char* part :
         {"name=\"Corvalen.Vantrel\"", "level=\"asInvoker\"", "<dpiAware>true/pm</dpiAware>",
          "PerMonitorV2, PerMonitor</dpiAwareness>",
          "Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\"", "{1f676c76-80e1-4239-95bb-83d0f6d0da78}",
          "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"})
        EXPECT_NE(std::string::npos, manifest.find(part)) << part;
}

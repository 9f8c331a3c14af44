// Benchmark helper (not a test), run by tools/bench_network.sh inside the harness:
//   net_bench printers N   installs N printers on Standard TCP/IP ports at 127.0.99.1 to .N, the
//                          silent range (any earlier bench printers are removed first; N = 0
//                          only removes them)
//   net_bench search RANGE runs one network search of RANGE with AskPrinter on and prints its
//                          milliseconds and what it found
#include <winsock2.h>
#include <windows.h>

#include <stdio.h>
#include <stdlib.h>

#include <string>

#include "core/settings.h"
#include "core/state.h"
#include "core/text.h"
#include "net/search.h"
#include "tests/support/test_pc.h"

static const wchar_t* kTcpKey =
    L"SYSTEM\\CurrentControlSet\\Control\\Print\\Monitors\\Standard TCP/IP Port\\Ports";
static const wchar_t* kDriver = L"Vantrel Bench Network PCL 6";
enum { kMostPrinters = 64 };

static std::wstring printer_name(int i) {
    return L"Silent printer " + std::to_wstring(i);
}

static int install_printers(int count) {
    for (int i = 1; i <= kMostPrinters; ++i)
        delete_test_printer(printer_name(i).c_str());
    if (count <= 0) return 0;
    CreateDirectoryW(L"C:\\vtnet", nullptr);
    if (!write_test_file(L"C:\\vtnet\\bench.dll", 64) ||
        !add_test_driver(kDriver, L"Windows x64", L"C:\\vtnet\\bench.dll") ||
        !write_test_file(driver_file_path(kDriver, L"Windows x64"), 64)) {
        fprintf(stderr, "net_bench: the driver could not be added\n");
        return 1;
    }
    for (int i = 1; i <= count && i <= kMostPrinters; ++i) {
        std::wstring address = L"127.0.99." + std::to_wstring(i);
        std::wstring port = L"IP_" + address;
        std::wstring key = std::wstring(kTcpKey) + L"\\" + port;
        bool ok = set_reg_string(HKEY_LOCAL_MACHINE, key, L"HostName", L"") &&
                  set_reg_string(HKEY_LOCAL_MACHINE, key, L"IPAddress", address) &&
                  set_reg_dword(HKEY_LOCAL_MACHINE, key, L"PortNumber", 9100) &&
                  set_reg_dword(HKEY_LOCAL_MACHINE, key, L"Protocol", 1) &&
                  set_reg_dword(HKEY_LOCAL_MACHINE, key, L"SNMP Enabled", 1) &&
                  set_reg_string(HKEY_LOCAL_MACHINE, key, L"SNMP Community", L"public") &&
                  add_test_printer(printer_name(i).c_str(), port.c_str(), kDriver);
        if (!ok) {
            fprintf(stderr, "net_bench: printer %d could not be added (%lu)\n", i, GetLastError());
            return 1;
        }
    }
    return 0;
}

static int search(const wchar_t* range) {
    text_copy(g_process.scanRange, _countof(g_process.scanRange), range);
    g_settings.askPrinter = 1;
    SearchRequest request = {};
    search_request_of(nullptr, 0, g_settings.askPrinter, g_process.scanRange, &request);
    ULONGLONG start = GetTickCount64();
    NetworkSearchResult* result = run_network_search(&request, nullptr);
    ULONGLONG took = GetTickCount64() - start;
    if (!result) return 1;
    printf("%llu ms, %d found among %d addresses:", took, result->count, result->addressesSwept);
    for (int i = 0; i < result->count; ++i)
        printf(" %ls%ls%ls", result->printers[i].ip, result->printers[i].hostName[0] ? L"=" : L"",
               result->printers[i].hostName);
    printf("\n");
    search_result_free(result);
    return 0;
}

int wmain(int argc, wchar_t** argv) {
    WSADATA wsa;
    WSAStartup(MAKEWORD(2, 2), &wsa);
    if (argc == 3 && !wcscmp(argv[1], L"printers")) return install_printers(_wtoi(argv[2]));
    if (argc == 3 && !wcscmp(argv[1], L"search")) return search(argv[2]);
    fprintf(stderr, "usage: net_bench printers N | search RANGE\n");
    return 2;
}

// For the start-time benchmark: starts Vantrel.exe with the given arguments and prints three
// figures in milliseconds from its start: when its main window is visible; when the banner shows
// the first verdict on the screen (its colour read back from the display where the banner is); and
// when the window has finished its first frame, so that it answers another program (the banner's
// text read with WM_GETTEXT). With no arguments it only prints 0, which times a bare Wine process
// start (the anchor). Not a test.
#include <windows.h>

#include <stdio.h>
#include <string>

#include "tests/support/remote_controls.h"
#include "tests/support/test_support.h"
#include "ui/lists.h"

static ULONGLONG g_t0;
static ULONGLONG since_start() {
    return GetTickCount64() - g_t0;
}

// Polls more finely than the tests' wait_until: the figures here are what is being measured.
template <typename Predicate> static bool poll(Predicate predicate, DWORD timeout_ms) {
    ULONGLONG end = GetTickCount64() + timeout_ms;
    for (;;) {
        if (predicate()) return true;
        if (GetTickCount64() >= end) return false;
        Sleep(1);
    }
}

struct Found {
    DWORD pid;
    const wchar_t* className;
    HWND window;
};

static BOOL CALLBACK match_visible(HWND window, LPARAM param) {
    Found* found = reinterpret_cast<Found*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    wchar_t name[64];
    if (owner != found->pid || !IsWindowVisible(window) || !GetClassNameW(window, name, 64) ||
        lstrcmpiW(name, found->className) != 0)
        return TRUE;
    found->window = window;
    return FALSE;
}

static bool is_verdict_text(const std::wstring& text) {
    return text.size() > 3 && text.find(L"Checking the printers") == std::wstring::npos &&
           text.find(L"Starting") == std::wstring::npos;
}

// The banner's text is read on a thread of its own: WM_GETTEXT waits while the window's thread is
// still painting, and the screen is watched meanwhile.
struct TextWatch {
    HWND banner;
    volatile LONG64 at; // since start, once the text is a verdict; 0 until then
};

static DWORD WINAPI watch_text(void* param) {
    TextWatch* watch = static_cast<TextWatch*>(param);
    if (poll([&] { return is_verdict_text(control_text(watch->banner)); }, 60000))
        InterlockedExchange64(&watch->at, (LONG64)since_start());
    return 0;
}

// A colour the banner has only once it shows a verdict: "Checking the printers…" and a verdict that
// could not be told are gray, and before its first verdict the banner has the window's colours.
static bool verdict_colour(COLORREF pixel) {
    for (BannerColour c : {BannerRed, BannerAmber, BannerGreen, BannerBlue})
        if (pixel == (COLORREF)banner_rgb(c)) return true;
    return false;
}

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) {
        printf("0\n");
        return 0;
    }
    const bool empty = lstrcmpiW(argv[1], L"/empty") == 0;
    const int first = empty ? 2 : 1;
    if (argc <= first) return 2;
    std::wstring arguments;
    for (int i = first + 1; i < argc; i++)
        arguments += std::wstring(i > first + 1 ? L" " : L"") + argv[i];
    std::wstring command = L"\"" + std::wstring(argv[first]) + L"\" " + arguments;
    STARTUPINFOW si = {};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi = {};
    g_t0 = GetTickCount64();
    if (!CreateProcessW(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        return 2;
    Found found = {pi.dwProcessId, empty ? L"VantrelBenchEmpty" : L"CorvalenVantrel", nullptr};
    poll(
        [&] {
            EnumWindows(match_visible, reinterpret_cast<LPARAM>(&found));
            return found.window != nullptr;
        },
        60000);
    HWND window = found.window;
    const ULONGLONG shown = since_start();
    ULONGLONG on_screen = 0, frame_done = 0;
    if (window && !empty) {
        TextWatch watch = {GetDlgItem(window, 100), 0};
        HANDLE reader = CreateThread(nullptr, 0, watch_text, &watch, 0, nullptr);
        // The banner was laid out before the window was shown. A point just inside its top edge
        // is above its text. Watched until the text has been a verdict for half a second, so the
        // colour the banner settles on is known; the figure is when it took that colour last.
        RECT banner = {};
        GetWindowRect(watch.banner, &banner);
        HDC screen = GetDC(nullptr);
        COLORREF colour = CLR_INVALID;
        ULONGLONG changed = 0;
        const ULONGLONG end = GetTickCount64() + 60000;
        while (reader && GetTickCount64() < end) {
            const COLORREF pixel = GetPixel(screen, banner.left + 2, banner.top + 2);
            if (pixel != colour) {
                colour = pixel;
                changed = since_start();
            }
            // The reader sets its time before it ends, so one read after its end is final.
            const bool reader_ended = WaitForSingleObject(reader, 0) == WAIT_OBJECT_0;
            const ULONGLONG text_at = (ULONGLONG)InterlockedCompareExchange64(&watch.at, 0, 0);
            if (text_at ? since_start() >= text_at + 500 : reader_ended) break; // else never a verdict
            Sleep(1);
        }
        ReleaseDC(nullptr, screen);
        if (reader) {
            WaitForSingleObject(reader, 60000);
            CloseHandle(reader);
        }
        frame_done = (ULONGLONG)watch.at;
        // A display that cannot be read back (or a gray verdict) leaves only the text's time.
        on_screen = frame_done && verdict_colour(colour) ? changed : frame_done;
    }
    // Closed before the answer is printed: a caller that starts the next copy as soon as it reads the
    // line must not find this one still holding the single-instance mutex.
    close_and_wait(window, pi.hProcess, 10000);
    if (empty)
        printf("%llu\n", shown);
    else
        printf("%llu %llu %llu\n", shown, on_screen, frame_done);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return window && (empty || frame_done) ? 0 : 1;
}

// The interface thread's half of the self-update. The threads only fetch and verify; every flag,
// the offer, the update bar and every message box are handled here, when their posts arrive. The
// swap itself runs here too, because it ends with this window closing.
#include <windows.h>
#include <shellapi.h>

#include <stdlib.h>
#include <wchar.h>

#include "res/version.h"
#include "ui/ui.h"
#include "core/state.h"
#include "core/text.h"
#include "ui/frame_services.h"
#include "ui/ui_services.h"
#include "ui/command_handlers.h"
#include "ui/main_window.h"
#include "ui/secondary_win.h"
#include "ui/update_win.h"
#include "update/http.h"
#include "update/update.h"
#include "update/version.h"

#define UPDATE_CAPTION L"Vantrel update"

namespace {
struct UpdateState {
    int32_t checkRunning;
    int32_t offerPresent;
    UpdateInfo offer; // whether a download runs is the update bar's own state
    wchar_t downloadPath[260];
};
UpdateState s_update;
} // namespace

const UpdateInfo* update_offer() {
    return s_update.offerPresent ? &s_update.offer : nullptr;
}
int32_t update_check_running() {
    return s_update.checkRunning;
}
int32_t update_download_running() {
    return g_update_bar.downloading;
}
void cancel_update_download() {
    update_cancel_set(1);
}

void start_update_check(int32_t manual) {
    if (s_update.checkRunning || g_update_bar.downloading) return;
    UpdateCheckStart* start = static_cast<UpdateCheckStart*>(calloc(1, sizeof(UpdateCheckStart)));
    if (!start) return;
    start->window = g_ui.main_window();
    start->manual = manual;
    update_manifest_url(start->manifestUrl, _countof(start->manifestUrl));
    // The fetch runs in a copy of this program, which exits with the TLS stack it loaded.
    DWORD n = GetModuleFileNameW(nullptr, start->helper, _countof(start->helper));
    if (n == 0 || n >= _countof(start->helper)) start->helper[0] = 0;
    if (manual) g_ui.status_text(L"Checking for updates\x2026");
    s_update.checkRunning = 1;
    if (!start_update_check_thread(start)) {
        s_update.checkRunning = 0;
        free(start);
    }
}

static int bar_visible() {
    return g_main.updateBar && IsWindowVisible(g_main.updateBar);
}

static void show_offer(const UpdateInfo* info) {
    text_copy(g_update_bar.newVersion, _countof(g_update_bar.newVersion), info->version);
    text_copy(g_update_bar.releaseDate, _countof(g_update_bar.releaseDate), info->published);
    text_copy(g_update_bar.notes, _countof(g_update_bar.notes), info->notes);
    show_update_bar(1);
}

void on_update_checked(void* result) {
    s_update.checkRunning = 0;
    UpdateInfo* info = static_cast<UpdateInfo*>(result);
    if (!info) return;
    wchar_t text[3400];
    if (!info->ok) {
        if (info->manual) {
            text_format(text, _countof(text), L"Couldn't check for updates.\n\n%ls", info->error);
            g_ui.message_box(text, UPDATE_CAPTION, MB_ICONWARNING);
        }
    } else if (compare_versions(info->version, VANTREL_VERSION_TEXT) <= 0) {
        if (info->manual) {
            text_format(text, _countof(text), L"You have the latest version of Vantrel (%ls).",
                        VANTREL_VERSION_TEXT);
            g_ui.message_box(text, UPDATE_CAPTION, MB_ICONINFORMATION);
        }
    } else {
        const int same = s_update.offerPresent && wcscmp(s_update.offer.version, info->version) == 0;
        s_update.offer = *info;
        s_update.offerPresent = 1;
        // A second automatic check that finds the same version changes nothing the user can see.
        if (!(same && bar_visible() && !info->manual)) {
            show_offer(info);
            if (info->manual) {
                text_format(
                    text, _countof(text),
                    L"Vantrel %ls is available (you have %ls).\n\nWhat's new:\n%ls\n\nUpdate now? Vantrel "
                    L"will restart in a few seconds and keep your settings.",
                    info->version, VANTREL_VERSION_TEXT, info->notes);
                if (g_ui.message_box(text, UPDATE_CAPTION, MB_ICONINFORMATION | MB_YESNO) == IDYES)
                    start_update_download();
            }
        }
    }
    if (info->manual) g_ui.status_text(L"");
    free(info);
}

static void bar_idle() {
    g_update_bar.percent = -1;
    update_bar_set_downloading(0);
}

void start_update_download() {
    if (g_update_bar.downloading || !s_update.offerPresent) return;
    DownloadStart* start = static_cast<DownloadStart*>(calloc(1, sizeof(DownloadStart)));
    if (!start) return;
    update_cancel_set(0);
    g_update_bar.percent = 0;
    update_bar_set_downloading(1);

    const UpdateInfo& offer = s_update.offer;
    start->window = g_ui.main_window();
    text_copy(start->version, _countof(start->version), offer.version);
    text_copy(start->exeUrl, _countof(start->exeUrl), offer.exeUrl);
    text_copy(start->sha256, _countof(start->sha256), offer.sha256);
    start->size = offer.size;
    // A path that does not fit stays empty, and the thread then says it couldn't create the file.
    update_download_path(offer.version, start->path, _countof(start->path));
    text_copy(s_update.downloadPath, _countof(s_update.downloadPath), start->path);
    if (!start_update_download_thread(start)) {
        free(start);
        bar_idle();
    }
}

void on_download_progress(int32_t percent) {
    if (!g_update_bar.downloading || percent == g_update_bar.percent) return;
    g_update_bar.percent = percent;
    update_bar_repaint();
}

static void restart_updated(const wchar_t* program) {
    wchar_t arguments[200];
    // A technician's scan range holds for the new copy too, so an update never widens the sweep.
    if (g_process.scanRange[0])
        text_format(arguments, _countof(arguments), L"/scanrange \"%ls\" /updated %ls", g_process.scanRange,
                    VANTREL_VERSION_TEXT);
    else
        text_format(arguments, _countof(arguments), L"/updated %ls", VANTREL_VERSION_TEXT);
    g_frame.release_instance();
    HWND window = static_cast<HWND>(g_ui.main_window());
    const INT_PTR started =
        (INT_PTR)ShellExecuteW(window, L"open", program, arguments, nullptr, SW_SHOWNORMAL);
    if (started <= 32)
        g_ui.message_box(L"Vantrel was updated. Please start it again.", UPDATE_CAPTION, MB_ICONINFORMATION);
    if (window) DestroyWindow(window);
}

void on_download_done(wchar_t* error) {
    bar_idle();
    if (error) {
        // A download the user canceled ends quietly.
        if (!update_cancel_requested()) {
            wchar_t text[500];
            text_format(text, _countof(text), L"The update didn't install.\n\n%ls", error);
            g_ui.message_box(text, UPDATE_CAPTION, MB_ICONWARNING);
        }
        free(error);
        return;
    }
    wchar_t program[MAX_PATH + 1];
    const DWORD n = GetModuleFileNameW(nullptr, program, _countof(program));
    if (n == 0 || n >= MAX_PATH) program[0] = 0;
    const SwapOutcome outcome =
        program[0] ? swap_program_file(program, s_update.downloadPath) : SwapCantRename;
    if (outcome == SwapCantRename) {
        if (!program[0]) DeleteFileW(s_update.downloadPath);
        wchar_t text[1200];
        text_format(
            text, _countof(text),
            L"Vantrel can't replace itself in this folder:\n%ls\n\nWindows doesn't allow programs to change "
            L"files in protected folders like Program Files. Move Vantrel.exe to your Desktop, Downloads, or "
            L"a folder such as C:\\Tools, run it from there, and click Update now again.\n\nOr download the "
            L"new version from the Vantrel download page (Help tab \x2192 Download Page).",
            program);
        g_ui.message_box(text, UPDATE_CAPTION, MB_ICONWARNING);
        return;
    }
    if (outcome == SwapCantPlace) {
        g_ui.message_box(
            L"The new version downloaded fine, but couldn't be put in place. Nothing was changed. Please "
            L"try again.",
            UPDATE_CAPTION, MB_ICONWARNING);
        return;
    }
    restart_updated(program);
}

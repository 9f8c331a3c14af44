// The update-check thread and the manifest address. The thread touches nothing but its own start
// record and result block, so the interface thread may do anything while it runs.
#include <windows.h>

#include <stdlib.h>

#include "core/messages.h"
#include "core/settings.h"
#include "core/text.h"
#include "core/thread_win.h"
#include "update/http.h"
#include "update/update.h"

void update_manifest_url(wchar_t* out, size_t cap) {
    wchar_t url[600] = L"";
    read_setting_string(L"UpdateManifest", url, _countof(url));
    text_copy(out, cap, url[0] ? url : UPDATE_MANIFEST_URL);
}

UpdateInfo* run_update_check(const UpdateCheckStart* start) {
    UpdateInfo* info = static_cast<UpdateInfo*>(calloc(1, sizeof(UpdateInfo)));
    if (!info) return nullptr;
    info->manual = start->manual;
    update_cancel_set(0);
    char* text = nullptr;
    if (http_get_manifest(start->helper, start->manifestUrl, &text, UPDATE_MANIFEST_MAX, info->error,
                          _countof(info->error))) {
        read_manifest(text, info);
        free(text);
    }
    return info;
}

static DWORD WINAPI check_thread(void* param) {
    UpdateCheckStart* start = static_cast<UpdateCheckStart*>(param);
    UpdateInfo* info = run_update_check(start);
    // Even without a result (memory ran out) the window must hear that the check ended, or its
    // check-running flag would stay set for the rest of the run; it takes a null block for that.
    if (!PostMessageW(static_cast<HWND>(start->window), MsgUpdateChecked, 0, reinterpret_cast<LPARAM>(info)))
        free(info);
    free(start);
    return 0;
}

int32_t start_update_check_thread(UpdateCheckStart* start) {
    return start_thread(check_thread, start);
}

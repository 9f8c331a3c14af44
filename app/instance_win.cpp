// Elevation and the single-instance rule. A second normal start hands over to the copy that runs;
// an updated or elevated copy waits up to 40 x 250 ms for its predecessor to let go.
#include "app.h"

#include "ui/ui.h"

int process_is_elevated() {
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) return 0;
    TOKEN_ELEVATION elevation = {};
    DWORD size = 0;
    BOOL ok = GetTokenInformation(token, TokenElevation, &elevation, sizeof(elevation), &size);
    CloseHandle(token);
    return ok && elevation.TokenIsElevated ? 1 : 0;
}

int take_single_instance(int may_wait) {
    for (int attempt = 0;; attempt++) {
        HANDLE mutex = CreateMutexW(nullptr, TRUE, VANTREL_MUTEX_NAME);
        DWORD error = GetLastError();
        // A mutex that cannot be made is treated as if no other copy ran.
        if (!mutex || error != ERROR_ALREADY_EXISTS) {
            g_app.instanceMutex = mutex;
            return 1;
        }
        if (attempt > 39 || !may_wait) {
            CloseHandle(mutex);
            HWND other = FindWindowW(VANTREL_MAIN_CLASS, nullptr);
            if (other) PostMessageW(other, MsgBringToFront, 0, 0);
            return 0;
        }
        CloseHandle(mutex);
        Sleep(250);
    }
}

void release_single_instance() {
    if (g_app.instanceMutex) CloseHandle(g_app.instanceMutex);
    g_app.instanceMutex = nullptr;
}

void retake_single_instance() {
    if (!g_app.instanceMutex) g_app.instanceMutex = CreateMutexW(nullptr, TRUE, VANTREL_MUTEX_NAME);
}

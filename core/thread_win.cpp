#include "core/thread_win.h"

int start_thread(LPTHREAD_START_ROUTINE routine, void* arg) {
    HANDLE thread = CreateThread(nullptr, 0, routine, arg, 0, nullptr);
    if (!thread) return 0;
    CloseHandle(thread);
    return 1;
}

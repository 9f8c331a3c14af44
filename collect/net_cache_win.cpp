// The cache's storage and lock. The long network tests run outside the lock; only the copy in or
// out is done while holding it.
#include "net_cache.h"

#include <windows.h>

static NetResultCache g_cache;
static CRITICAL_SECTION g_cache_lock;
static LONG g_cache_ready;

void net_cache_init() {
    if (InterlockedCompareExchange(&g_cache_ready, 1, 0) == 0) InitializeCriticalSection(&g_cache_lock);
}

int net_cache_put(const NetTestResult* result) {
    if (!g_cache_ready) return 0;
    EnterCriticalSection(&g_cache_lock);
    int stored = net_cache_store(&g_cache, result);
    LeaveCriticalSection(&g_cache_lock);
    return stored;
}

int net_cache_get(const wchar_t* target, NetTestResult* out) {
    if (!g_cache_ready || !out) return 0;
    EnterCriticalSection(&g_cache_lock);
    const NetTestResult* hit = net_cache_find(&g_cache, target);
    if (hit) *out = *hit;
    LeaveCriticalSection(&g_cache_lock);
    return hit != nullptr;
}

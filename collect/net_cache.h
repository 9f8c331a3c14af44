// The process-wide network-result cache and its lock. Entries are only added or overwritten, never
// removed, so a printer keeps showing its last result until it is tested again.
#pragma once

#include "core/snapshot.h"

// Called once at start-up, before any check worker can run.
void net_cache_init();

// Stores a copy of the result under the lock; a 65th address is not cached. Returns 1 when stored.
int net_cache_put(const NetTestResult* result);

// Copies the cached result for target (case-insensitive) into out; 0 and out untouched when none.
int net_cache_get(const wchar_t* target, NetTestResult* out);

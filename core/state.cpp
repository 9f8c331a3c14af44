// Storage of the process-wide state.
#include "core/state.h"

ProcessState g_process = {};
Snapshot* g_snapshot = nullptr;
NetworkSearchResult* g_search_result = nullptr;

// The System log's record of services that ended unexpectedly, for the collector's spooler-crash
// count. Wine's event log cannot be queried: that reads as a log that could not be read.
#pragma once

#include "collect/collector.h"

// The Service Control Manager's events 7031 and 7034 of the day before now, newest first, handed
// over one by one; 0 when the System log cannot be queried.
int list_service_crashes(void* ctx, uint64_t now, TakeServiceCrash take, void* arg);

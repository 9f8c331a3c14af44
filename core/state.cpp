// Storage of the process-wide state.
#include "core/state.h"

ProcessState g_process = {};

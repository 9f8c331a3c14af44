// The main window's side of the self-update: the check-running and downloading flags, the current
// offer, and the hand-overs from the two update threads (declared in ui/command_handlers.h).
#pragma once

#include <stdint.h>

#include "update/manifest.h"

// The latest check result that offered a newer version, or null before one was seen.
const UpdateInfo* update_offer();
int32_t update_check_running();

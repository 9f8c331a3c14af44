// Which of the printers a network search found are already installed on this PC.
#pragma once

#include "core/search_result.h"
#include "core/snapshot.h"

// Fills installedAs of every found printer with the names of the installed, non-virtual printers
// that use that device, joined by "; " (empty: not installed). A printer uses the device when its
// tested address or its port address is the device's IP, or when its port address is a name whose
// short form (before the first ".") is the device's short host name or its SNMP system name.
void mark_installed(NetworkSearchResult* result, const Snapshot* snapshot);

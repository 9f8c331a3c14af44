// The one place the program's version is written; the version resource and the code read it here.
#pragma once

#define VANTREL_VERSION_MAJOR 1
#define VANTREL_VERSION_MINOR 1
#define VANTREL_VERSION_PATCH 0
#define VANTREL_VERSION_STRING "1.1.0"

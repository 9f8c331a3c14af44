// The one place the program's version is written; the version resource and the code read it here.
#pragma once

#define VANTREL_VERSION_MAJOR 1
#define VANTREL_VERSION_MINOR 1
#define VANTREL_VERSION_PATCH 0
#define VANTREL_VERSION_STRING "1.1.0"

// The same version as wide text, for the title, the update comparison, the report and the log.
#define VANTREL_WIDEN_(x) L##x
#define VANTREL_WIDEN(x) VANTREL_WIDEN_(x)
#define VANTREL_VERSION_TEXT VANTREL_WIDEN(VANTREL_VERSION_STRING)

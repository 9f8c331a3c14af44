// The frame's process-wide state.
#include "app.h"

AppState g_app = {};

// Commands whose windows and actions are still being written. Each is one named function so the
// command table already routes to it; until it is filled it does nothing.
#include "ui/command_handlers.h"

void show_details() {}
void save_report() {}
void open_history_window() {}

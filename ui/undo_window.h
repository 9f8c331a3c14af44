// The History & Undo window's own steps (open_history_window, command 213, is in
// ui/command_handlers.h).
#pragma once

// (Re)loads the change history and fills the list in record order, with the count line.
void fill_history_list();

// The "Undo ticked changes" button: puts back the ticked rows and shows one summary message.
void undo_ticked_changes();

// The Help tab's windows: the three help texts and What's new go to the notes window, About is a
// message box on the main window.
#include <windows.h>

#include "res/version.h"
#include "ui/ui.h"
#include "core/settings.h"
#include "core/text.h"
#include "ui/ui_services.h"
#include "ui/command_handlers.h"
#include "ui/help_texts.h"
#include "ui/main_commands.h"

void show_help_notes(int32_t command) {
    HelpNotes notes;
    if (help_notes_of(command, VANTREL_VERSION_TEXT, &notes))
        g_ui.show_notes(notes.title, notes.header, notes.body);
}

void show_whats_new() {
    HelpNotes notes;
    whats_new_of(VANTREL_VERSION_TEXT, &notes);
    g_ui.show_notes(notes.title, notes.header, notes.body);
}

void show_about() {
    wchar_t text[1200];
    about_text_of(VANTREL_VERSION_TEXT, g_settings.autoUpdate, VANTREL_DOWNLOAD_PAGE, text, _countof(text));
    g_ui.message_box(text, L"About Vantrel", MB_ICONINFORMATION);
}

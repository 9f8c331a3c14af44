// The program's own documentation: the user guide, the driver guide, the release notes, the text
// shown once after an update, and the About box. Constant texts with line feeds only; the notes
// window turns them into CR LF when it shows them.
#pragma once

#include <stddef.h>
#include <stdint.h>
#include <wchar.h>

// What the notes window shows for a help text: its title, the header (may be empty) and the body.
struct HelpNotes {
    const wchar_t* title;
    wchar_t header[200];
    const wchar_t* body;
};

// How to Use (236), Driver Types (250) or Release Notes (260) with the running version; returns 0 and
// leaves out empty for any other command.
int32_t help_notes_of(int32_t command, const wchar_t* version, HelpNotes* out);

// The "What's new in Vantrel" window after an update to the running version: the change lines of the
// newest release-notes entry.
void whats_new_of(const wchar_t* version, HelpNotes* out);

// The About box's text: version, whether updates are checked automatically, and the download page.
void about_text_of(const wchar_t* version, int32_t auto_update, const wchar_t* download_page, wchar_t* out,
                   size_t cap);

// The whole release notes, newest version first.
const wchar_t* release_notes_text();

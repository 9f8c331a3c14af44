// The log file: a plain-text diary in the user's local application-data folder, one dated line per
// event. It only ever grows; each line opens and closes the file, so nothing is held between lines
// and another program may read it meanwhile. Every failure loses that one line silently.
#pragma once

#include <stddef.h>
#include <wchar.h>

// One line of the file, before conversion to UTF-8: stamp, two spaces, message, CR LF.
void build_log_line(wchar_t* buf, size_t cap, const wchar_t* stamp, const wchar_t* message);

// "%ls\Corvalen\Vantrel\Vantrel-log.txt" under the local application-data folder; the two folders
// are created first (failures ignored).
void log_file_path(wchar_t* buf, size_t cap);

// The one way to write the log. Does nothing when the "LogFile" setting is off or in demonstration
// mode. The message is cut at 1,599 characters.
void log_line(const wchar_t* format, ...);

// Replacing the running program file. Windows lets a running program's file be renamed but not
// overwritten, so the file is moved aside to "%ls.old" first and the new one moved into its place;
// when the second move fails the first is undone, so the program's path always holds a program.
#include <windows.h>

#include "core/text.h"
#include "update/update.h"

int32_t old_copy_path(const wchar_t* program, wchar_t* out, size_t cap) {
    if (wcslen(program) + 5 > cap) return 0;
    text_format(out, cap, L"%ls.old", program);
    return 1;
}

SwapOutcome swap_program_file(const wchar_t* program, const wchar_t* downloaded) {
    wchar_t old_copy[MAX_PATH + 8];
    if (!old_copy_path(program, old_copy, _countof(old_copy))) {
        DeleteFileW(downloaded);
        return SwapCantRename;
    }
    DeleteFileW(old_copy);
    if (!MoveFileExW(program, old_copy, MOVEFILE_REPLACE_EXISTING)) {
        DeleteFileW(downloaded);
        return SwapCantRename;
    }
    if (!MoveFileExW(downloaded, program, MOVEFILE_REPLACE_EXISTING | MOVEFILE_COPY_ALLOWED)) {
        MoveFileExW(old_copy, program, MOVEFILE_REPLACE_EXISTING);
        DeleteFileW(downloaded);
        return SwapCantPlace;
    }
    return SwapDone;
}

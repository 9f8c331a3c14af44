// The manifest fetched by a short-lived copy of the program. WinHTTP brings TLS with it (crypt32,
// schannel and, under Wine, GnuTLS and its libraries), about 4 MB that stay mapped for the rest of
// the run once loaded, for a check that comes once every 6 hours. The window's process therefore
// never loads it for a check: the copy started with "/updatecheck URL" fetches the manifest and
// writes it to the pipe it was given as standard output, then exits and takes the TLS stack with it.
//
// The answer on the pipe is one tag byte and what follows it: 'M' and the manifest's bytes, or 'E'
// and the failure sentence as UTF-16 (the sentence the fetch would have given in this process).
#include <windows.h>

#include <stdlib.h>
#include <string.h>

#include "core/file_win.h"
#include "core/text.h"
#include "update/http.h"
#include "update/update.h"

namespace {

// The copy's own time-outs (name, connect, send, and each read of the body) end a fetch long
// before this; a server that drips bytes forever is ended here.
const DWORD kHelperLimitMs = 120000;

// What the copy answered: 1 with the manifest or the sentence taken over, 0 when the answer is
// not one (the copy crashed or was ended before it answered).
int32_t take_answer(const char* answer, size_t size, char** text, wchar_t* error, size_t cap,
                    int32_t* fetched) {
    if (size < 1) return 0;
    if (answer[0] == 'M') {
        char* copy = static_cast<char*>(malloc(size));
        if (!copy) return 0;
        memcpy(copy, answer + 1, size - 1);
        copy[size - 1] = 0;
        *text = copy;
        *fetched = 1;
        return 1;
    }
    if (answer[0] == 'E' && (size - 1) % sizeof(wchar_t) == 0 && size > 1) {
        size_t chars = (size - 1) / sizeof(wchar_t);
        if (chars >= cap) chars = cap - 1;
        memcpy(error, answer + 1, chars * sizeof(wchar_t));
        error[chars] = 0;
        *fetched = 0;
        return 1;
    }
    return 0;
}

struct Child {
    HANDLE process = nullptr;
    HANDLE pipe = nullptr; // the reading end
    ~Child() {
        if (pipe) CloseHandle(pipe);
        if (process) CloseHandle(process);
    }
};

// Starts "helper" /updatecheck "url" with its standard output on a new pipe; 0 when it could not.
int32_t start_child(const wchar_t* helper, const wchar_t* url, Child* child) {
    SECURITY_ATTRIBUTES inherit = {sizeof(inherit), nullptr, TRUE};
    HANDLE write_end = nullptr;
    if (!CreatePipe(&child->pipe, &write_end, &inherit, 0)) return 0;
    SetHandleInformation(child->pipe, HANDLE_FLAG_INHERIT, 0);
    wchar_t line[1000];
    text_format(line, _countof(line), L"\"%ls\" /updatecheck \"%ls\"", helper, url);
    STARTUPINFOW si = {};
    si.cb = sizeof(si);
    // The copy shows nothing, so the pointer shows no "starting" feedback either.
    si.dwFlags = STARTF_USESTDHANDLES | STARTF_FORCEOFFFEEDBACK;
    si.hStdOutput = write_end;
    PROCESS_INFORMATION pi = {};
    BOOL started =
        CreateProcessW(helper, line, nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr, nullptr, &si, &pi);
    CloseHandle(write_end); // the copy holds the only writing end: its exit ends the pipe
    if (!started) return 0;
    CloseHandle(pi.hThread);
    child->process = pi.hProcess;
    return 1;
}

// Reads the copy's answer until it closes the pipe, at most limit bytes and kHelperLimitMs;
// the copy is ended when it takes longer. 0 when the time ran out.
int32_t read_answer(Child* child, char* answer, size_t limit, size_t* size) {
    const ULONGLONG deadline = GetTickCount64() + kHelperLimitMs;
    *size = 0;
    for (;;) {
        DWORD available = 0;
        if (!PeekNamedPipe(child->pipe, nullptr, 0, nullptr, &available, nullptr)) return 1; // closed
        if (available > 0) {
            DWORD got = 0;
            DWORD room = (DWORD)(limit - *size);
            if (room == 0) return 1; // more than any answer of the copy's: not taken (fetched here)
            if (!ReadFile(child->pipe, answer + *size, available < room ? available : room, &got, nullptr))
                return 1;
            *size += got;
            continue;
        }
        if (GetTickCount64() >= deadline) {
            TerminateProcess(child->process, 1);
            return 0;
        }
        // Wakes as soon as the copy ends; otherwise looks at the pipe again a moment later.
        WaitForSingleObject(child->process, 20);
    }
}

} // namespace

int32_t http_get_manifest(const wchar_t* helper, const wchar_t* url, char** text, uint32_t max_size,
                          wchar_t* error, size_t cap) {
    // A quote would end the address on the copy's command line; no real address has one.
    if (!helper || !helper[0] || wcschr(url, L'"'))
        return http_get(url, text, max_size, nullptr, 0, nullptr, error, cap);
    Child child;
    if (!start_child(helper, url, &child))
        return http_get(url, text, max_size, nullptr, 0, nullptr, error, cap);
    // The tag, the manifest at its largest, and one byte more to tell a longer answer.
    const size_t limit = (size_t)max_size + 2;
    char* answer = static_cast<char*>(malloc(limit));
    if (!answer) return 0;
    size_t size = 0;
    int32_t in_time = read_answer(&child, answer, limit, &size);
    int32_t fetched = 0;
    int32_t answered = in_time && size < limit && take_answer(answer, size, text, error, cap, &fetched);
    free(answer);
    if (!in_time) {
        text_copy(error, cap, L"The update server did not answer within 2 minutes.");
        return 0;
    }
    // A copy that could not answer (it crashed, or something ended it): the fetch is done here
    // after all, so the check still gets its answer.
    if (!answered) return http_get(url, text, max_size, nullptr, 0, nullptr, error, cap);
    return fetched;
}

int run_manifest_fetch_mode(const wchar_t* url) {
    HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
    if (!out || out == INVALID_HANDLE_VALUE) return 2;
    char* text = nullptr;
    wchar_t error[400] = L"";
    if (http_get(url, &text, UPDATE_MANIFEST_MAX, nullptr, 0, nullptr, error, _countof(error))) {
        int32_t ok = write_all(out, "M", 1) == 0 && write_all(out, text, strlen(text)) == 0;
        free(text);
        return ok ? 0 : 2;
    }
    // Without a sentence (memory ran out) the answer is the tag alone, which the window does not
    // take: it then fetches the manifest itself.
    return write_all(out, "E", 1) == 0 && write_all(out, error, wcslen(error) * sizeof(wchar_t)) == 0 ? 1 : 2;
}

// The pure parts of the action runner: the plan, the outcome, the elevated copy's command line and
// the failure message.
#include "actions.h"

#include "core/text.h"

void quote_command_argument(wchar_t* buf, size_t cap, const wchar_t* argument) {
    if (!buf || cap == 0) return;
    size_t n = 0;
    auto put = [&](wchar_t c) {
        if (n + 1 < cap) buf[n++] = c;
    };
    put(L'"');
    const wchar_t* p = argument ? argument : L"";
    while (*p) {
        size_t slashes = 0;
        while (p[slashes] == L'\\')
            slashes++;
        if (p[slashes] == L'"') {
            for (size_t i = 0; i < slashes * 2 + 1; i++)
                put(L'\\');
            put(L'"');
            p += slashes + 1;
        } else if (p[slashes] == 0) {
            for (size_t i = 0; i < slashes * 2; i++)
                put(L'\\');
            p += slashes;
        } else {
            for (size_t i = 0; i < slashes; i++)
                put(L'\\');
            put(p[slashes]);
            p += slashes + 1;
        }
    }
    put(L'"');
    buf[n] = 0;
}

int build_task_parameters(wchar_t* buf, size_t cap, const wchar_t* verb, const wchar_t* argument) {
    // Room for one character more than allowed, to tell a line that fitted from a cut one.
    wchar_t quoted[1500];
    quote_command_argument(quoted, _countof(quoted), argument);
    wchar_t line[701];
    text_format(line, _countof(line), L"/task %ls %ls", verb ? verb : L"", quoted);
    size_t len = wcslen(line);
    if (len > 699 || len + 1 > cap || quoted[wcslen(quoted) - 1] != L'"' || wcslen(quoted) < 2) {
        if (cap) buf[0] = 0;
        return 0;
    }
    text_copy(buf, cap, line);
    return 1;
}

void trim_error_text(wchar_t* text, size_t cap, uint32_t code) {
    size_t len = text_length(text, cap);
    if (len >= cap) len = cap - 1;
    while (len > 0 && (text[len - 1] == L' ' || text[len - 1] == L'\r' || text[len - 1] == L'\n'))
        len--;
    text[len] = 0;
    if (len == 0) text_format(text, cap, L"error %lu", (unsigned long)code);
}

void build_failure_message(wchar_t* buf, size_t cap, const wchar_t* description, const wchar_t* windows_text,
                           uint32_t code) {
    wchar_t message[900];
    text_format(
        message, _countof(message),
        L"That did not work.\n\nWhat was tried: %ls\nWindows said: %ls (error %lu)%ls",
        description ? description : L"", windows_text ? windows_text : L"", (unsigned long)code,
        code == 5
            ? L"\n\nThis needs an administrator. Use Tools \x2192 Run as Admin (with expert tools on), or "
              L"ask whoever manages this PC."
            : L"");
    text_copy(buf, cap, message);
}

void change_plan(ChangePlan* out, TaskVerb verb, const wchar_t* argument, ChangeKind kind,
                 const wchar_t* detail, const wchar_t* description) {
    *out = ChangePlan{};
    out->verb = verb;
    out->needsAdmin = task_needs_admin(verb);
    out->changeKind = kind;
    text_copy(out->argument, _countof(out->argument), argument);
    text_copy(out->detail, _countof(out->detail), detail);
    text_copy(out->description, _countof(out->description), description);
}

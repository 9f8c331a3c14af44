// Find Driver on the interface thread: the question, the model on the clipboard and the web search
// opened in the user's browser.
#include "driver_search.h"

#include <windows.h>
#include <shellapi.h>

#include "core/settings.h"
#include "core/state.h"
#include "core/text.h"
#include "core/ui_services.h"
#include "history/log_file.h"
#include "ui/commands.h"

void find_driver(int32_t printer_index) {
    if (!g_snapshot || printer_index < 0 || printer_index >= g_snapshot->printerCount) return;
    const PrinterRecord* p = &g_snapshot->printers[printer_index];
    if (p->isVirtual) {
        g_ui.message_box(VANTREL_BUILT_IN_NO_DRIVER, L"Vantrel", MB_ICONINFORMATION);
        return;
    }
    // Copies first: the question pumps messages, and a re-check may free this snapshot meanwhile.
    wchar_t name[260];
    text_copy(name, _countof(name), p->name);
    ModelGuess guess;
    identify_model(p, &guess);
    wchar_t question[2000];
    find_driver_question(p, &guess, g_settings.askPrinter, question, _countof(question));
    if (g_ui.message_box(question, L"Find Driver", MB_ICONINFORMATION | MB_OKCANCEL) != IDOK) return;
    if (g_process.demo) {
        g_ui.message_box(VANTREL_DEMO_MESSAGE, L"Vantrel", MB_ICONINFORMATION);
        return;
    }
    g_ui.copy_to_clipboard(guess.model);
    wchar_t url[1400];
    driver_search_url(guess.model, guess.domain, url, _countof(url));
    ShellExecuteW(static_cast<HWND>(g_ui.main_window()), L"open", url, nullptr, nullptr, SW_SHOWNORMAL);
    log_line(L"Looked for the driver for \"%ls\" (model \"%ls\")", name, guess.model);
}

// Fix This and the fix commands on the interface thread. Message boxes and the runner's wait pump
// messages, so a re-check can replace the snapshot and the finding list while a question is open:
// a finding is copied before its question, and anything read afterwards comes from the new check.
#include "ui/fix_commands.h"

#include <windows.h>
#include <shellapi.h>

#include "core/log_file.h"
#include "core/messages.h"
#include "core/session.h"
#include "core/settings.h"
#include "core/state.h"
#include "core/text.h"
#include "net/driver_search.h"
#include "ui/commands.h"
#include "ui/frame_services.h"
#include "ui/main_window.h"
#include "ui/ui_services.h"

static Session* session() {
    return g_main.session;
}

static const Snapshot* snapshot() {
    return g_main.session ? g_main.session->snapshot : nullptr;
}

static HWND owner() {
    return static_cast<HWND>(g_ui.main_window());
}

static int32_t ask(const wchar_t* text, const wchar_t* title, uint32_t flags) {
    return g_ui.message_box(text, title, flags);
}

static void demo_message() {
    ask(VANTREL_DEMO_MESSAGE, L"Vantrel", MB_ICONINFORMATION);
}

static void start_check(int with_network_test, const wchar_t* address) {
    g_frame.start_check(session(), with_network_test, address);
}

static void working(void*) {
    g_ui.status_text(L"Working\x2026 (this can take up to a minute)");
}

void window_runner_env(void* window, RunnerEnv* out) {
    *out = RunnerEnv{};
    out->demo = g_process.demo;
    out->elevated = g_process.elevated;
    out->mayElevate = 1;
    out->autoNetTest = g_settings.autoNetTest;
    out->owner = window ? window : g_ui.main_window();
    out->working = working;
}

int show_action_outcome(const ActionOutcome* o) {
    switch (o->status) {
    case ActionRefusedInDemo:
        demo_message();
        return 0;
    case ActionCanceled:
    case ActionNeedsAdmin:
        g_ui.status_text(o->statusText);
        show_last_outcome(o->statusText);
        return 0;
    case ActionFailed:
        show_last_outcome(o->statusText);
        ask(o->failureText, L"Vantrel", MB_ICONWARNING);
        break;
    case ActionDone:
        g_ui.status_text(o->statusText);
        show_last_outcome(o->statusText);
        break;
    }
    if (o->checkAgain) start_check(o->checkWithNetwork, nullptr);
    return o->status == ActionDone;
}

int run_fix_plan(const FixPlan* plan, int skip) {
    if (g_process.demo) {
        demo_message();
        return 0;
    }
    if (plan->confirmTitle && (!skip || plan->alwaysConfirm) &&
        ask(plan->confirmText, plan->confirmTitle, MB_ICONQUESTION | MB_OKCANCEL) != IDOK)
        return 0;
    RunnerEnv env;
    window_runner_env(nullptr, &env);
    const ActionOutcome outcome = run_change(plan, &env);
    const int done = show_action_outcome(&outcome);
    if (done && plan->offerTestPage) offer_test_page();
    return done;
}

static void run_command(FixCommand command, const wchar_t* argument, int skip,
                        const wchar_t* printer = nullptr) {
    FixPlan plan;
    const Snapshot* s = snapshot();
    if (!fix_command_plan(command, argument, s ? s->jobCount : 0, &plan)) return;
    plan_names_printer(&plan, printer);
    run_fix_plan(&plan, skip);
}

void restart_spooler(int skip) {
    run_command(FixCommandRestartSpooler, nullptr, skip);
}
void clear_stuck_jobs() {
    run_command(FixCommandClearStuckJobs, nullptr, 0);
}
void pause_or_resume(const wchar_t* printer, int pause) {
    run_command(pause ? FixCommandPause : FixCommandResume, printer, 1);
}
void set_printer_offline(const wchar_t* printer, int currently_offline) {
    run_command(currently_offline ? FixCommandOnline : FixCommandOffline, printer, 1);
}
void cancel_all_jobs(const wchar_t* printer, int skip) {
    run_command(FixCommandCancelAllJobs, printer, skip);
}
void snmp_status_off(const wchar_t* port, const wchar_t* printer, int skip) {
    run_command(FixCommandSnmpOff, port, skip, printer);
}
void add_pdf_printer(int skip) {
    run_command(FixCommandAddPdf, nullptr, skip);
}

void open_printer_window(const wchar_t* printer_name, const wchar_t* switch_text) {
    if (g_process.demo) {
        demo_message();
        return;
    }
    wchar_t parameters[700];
    printer_window_parameters(printer_name, switch_text, parameters, _countof(parameters));
    ShellExecuteW(owner(), L"open", L"rundll32.exe", parameters, nullptr, SW_SHOWNORMAL);
}

void send_test_page(int32_t printer) {
    if (g_process.demo) {
        demo_message();
        return;
    }
    const PrinterRecord* p = session_printer(session(), printer);
    if (!p) return;
    wchar_t name[260];
    text_copy(name, _countof(name), p->name);
    open_printer_window(name, L"/k");
    log_line(L"Sent a Windows test page to \"%ls\"", name);
    wchar_t line[400];
    text_format(
        line, _countof(line),
        L"Sent a Windows test page to \"%ls\". If it prints, Windows, the driver and the connection are "
        L"all working.",
        name);
    g_ui.status_text(line);
    // The page takes a few seconds to reach the queue; the check then shows whether it went through.
    if (owner()) SetTimer(owner(), TimerTestPage, 4000, nullptr);
}

void offer_test_page() {
    if (g_process.demo || !snapshot()) return;
    int32_t printer = test_page_printer(snapshot(), g_ui.selected_printer());
    if (printer < 0) return;
    wchar_t name[260];
    text_copy(name, _countof(name), snapshot()->printers[printer].name);
    wchar_t question[600];
    text_format(
        question, _countof(question),
        L"The Print Spooler is running again.\n\nSend a Windows test page to \"%ls\" now, to prove printing "
        L"works?",
        name);
    if (ask(question, L"Test Page", MB_ICONQUESTION | MB_YESNO) != IDYES) return;
    // The question pumped messages: a new snapshot may have moved the printer to another index.
    for (int32_t i = 0; snapshot() && i < snapshot()->printerCount; i++)
        if (text_equal_ci(snapshot()->printers[i].name, name)) {
            send_test_page(i);
            return;
        }
}

void open_printer_web_page(int32_t printer) {
    if (printer < 0 || !snapshot()) return;
    if (g_process.demo) {
        demo_message();
        return;
    }
    wchar_t url[300];
    if (printer_web_address(snapshot(), printer, url, _countof(url)))
        ShellExecuteW(owner(), L"open", url, nullptr, nullptr, SW_SHOWNORMAL);
    else
        ask(VANTREL_NO_WEB_PAGE, L"Vantrel", MB_ICONINFORMATION);
}

void find_driver(int32_t printer_index) {
    const PrinterRecord* p = session_printer(session(), printer_index);
    if (!p) return;
    if (p->isVirtual) {
        ask(VANTREL_BUILT_IN_NO_DRIVER, L"Vantrel", MB_ICONINFORMATION);
        return;
    }
    // Copies first: the question pumps messages, and a re-check may free this snapshot meanwhile.
    wchar_t name[260];
    text_copy(name, _countof(name), p->name);
    ModelGuess guess;
    identify_model(p, &guess);
    wchar_t question[2000];
    find_driver_question(p, &guess, g_settings.askPrinter, question, _countof(question));
    if (ask(question, L"Find Driver", MB_ICONINFORMATION | MB_OKCANCEL) != IDOK) return;
    if (g_process.demo) {
        demo_message();
        return;
    }
    g_ui.copy_to_clipboard(guess.model);
    wchar_t url[1400];
    driver_search_url(guess.model, guess.domain, url, _countof(url));
    ShellExecuteW(owner(), L"open", url, nullptr, nullptr, SW_SHOWNORMAL);
    log_line(L"Looked for the driver for \"%ls\" (model \"%ls\")", name, guess.model);
}

static void network_test_of(int32_t printer) {
    if (g_process.demo) {
        demo_message();
        return;
    }
    const PrinterRecord* p = session_printer(session(), printer);
    if (p) start_check(1, p->address);
}

// A fix that changes the PC runs its plan; the rest open or show something.
static void carry_out(const Finding* f, const wchar_t* printer) {
    FixPlan plan;
    wchar_t old_address[200] = L"";
    if (f->fix == PointToNewAddress) {
        wchar_t port[260], address[260];
        if (!split_port_subject(f->subject, port, _countof(port), address, _countof(address))) return;
        if (!g_process.demo) current_port_address(port, old_address, _countof(old_address));
    }
    if (fix_plan_of(f, snapshot(), old_address, &plan)) {
        plan_names_printer(&plan, printer);
        // Fix This asked its own question already; only a change that always confirms asks again.
        run_fix_plan(&plan, 1);
        return;
    }
    switch (f->fix) {
    case RunNetworkTest:
        network_test_of(f->printerIndex);
        break;
    case OpenWebPage:
        open_printer_web_page(f->printerIndex);
        break;
    case OpenPrintersSettings:
        ShellExecuteW(owner(), L"open", L"ms-settings:printers", nullptr, nullptr, SW_SHOWNORMAL);
        break;
    case ShowPrintLog:
        g_ui.switch_view(ViewWindowsLog);
        break;
    case FindDriver:
        find_driver(f->printerIndex);
        break;
    case SearchNetwork:
        g_frame.start_search(session(), 1);
        g_ui.switch_view(ViewNetworkPrinters);
        break;
    default:
        break;
    }
}

void apply_fix(int32_t row) {
    const Session* s = session();
    if (!s || row < 0 || row >= s->findings.count || row >= kMaxFindings) return;
    // The user answers about the finding they were shown, even if a re-check replaces the list meanwhile.
    Finding finding = s->findings.items[row];
    wchar_t caption[400], text[2200];
    fix_caption(&finding, s->snapshot, caption, _countof(caption));
    uint32_t flags = fix_question(&finding, text, _countof(text));
    // Named now: the index means another printer once a re-check replaced the snapshot.
    wchar_t printer[260] = L"";
    const PrinterRecord* p =
        s->snapshot && finding.printerIndex >= 0 && finding.printerIndex < s->snapshot->printerCount
            ? &s->snapshot->printers[finding.printerIndex]
            : nullptr;
    if (p) text_copy(printer, _countof(printer), p->name);
    int32_t answer = ask(text, caption, flags);
    if (finding.fix == NoFix || answer != IDYES) return;
    carry_out(&finding, printer);
}

void fix_this() {
    FixSelection selection = {};
    selection.bottomRow = g_ui.bottom_selection();
    selection.bottomLastUsed = selection.bottomRow >= 0;
    selection.view = g_settings.view;
    selection.printerRow = g_ui.selected_printer();
    const Session* s = session();
    FixChoice choice = choose_fix(s ? &s->findings : nullptr, &selection);
    if (choice.row >= 0)
        apply_fix(choice.row);
    else
        ask(choice.message, L"Vantrel", MB_ICONINFORMATION);
}

// Every command id and control id of the interface, and the one table that says what each command
// needs. The ribbon, the context menu, the update bar and the Settings page all send these ids to
// the main window, whose on_command is the only place they are carried out.
#pragma once

#include <stdint.h>

enum ControlId : int32_t {
    IdBanner = 100,
    IdPrinterCaption = 101,
    IdPrinterList = 102,
    IdBottomCaption = 103,
    IdBottomList = 104,
    IdStatusBar = 105,
    IdSettingExplanation = 900, // the short text under each Settings check box
    IdSettingHeading = 901,
    // History & Undo window
    IdUndoList = 170,
    IdUndoIntro = 171,
    IdUndoButton = 172,
    IdUndoClose = 173,
    IdUndoCount = 271,
    // Notes window (help, release notes, details); its Close button is the dialog's OK
    IdNotesText = 100,
    IdNotesClose = 1,
};

enum CommandId : int32_t {
    // Settings page check boxes and button
    CmdAutoCheck = 110,
    CmdAutoNetTest = 111,
    CmdAskPrinter = 112,
    CmdCheckVirtual = 113,
    CmdReadEventLog = 114,
    CmdExpertTools = 115,
    CmdLogFile = 116,
    CmdTopmost = 117,
    CmdAutoUpdate = 140,
    CmdCheckUpdatesNow = 141,
    // Update bar
    CmdUpdateNow = 142,
    CmdWhatsNew = 143,
    CmdLater = 144,
    // Home
    CmdCheckNow = 200,
    CmdNetworkTest = 201,
    CmdDetails = 202,
    CmdFixThis = 203,
    CmdRestartSpooler = 204,
    CmdClearStuckJobs = 205,
    CmdTestPage = 206,
    CmdViewProblems = 207,
    CmdViewPrintQueue = 208,
    CmdViewWindowsLog = 209,
    CmdViewDrivers = 210,
    CmdSaveReport = 211,
    CmdCopySummary = 212,
    CmdHistory = 213,
    // Tools
    CmdOpenQueue = 214,
    CmdProperties = 215,
    CmdPreferences = 216,
    CmdPrintersSettings = 217,
    CmdPrintServer = 218,
    CmdPrintManagement = 219,
    CmdWebPage = 220,
    CmdTroubleshooter = 221,
    CmdPauseResume = 222,
    CmdOfflineOnline = 223,
    CmdSetDefault = 224,
    CmdCancelAllJobs = 225,
    // Share
    CmdShare = 230,
    CmdShareEmail = 231,
    CmdShareMessenger = 232,
    CmdShareWhatsApp = 233,
    CmdShareText = 234,
    CmdCopyLink = 235,
    // Help
    CmdHowToUse = 236,
    CmdCheckUpdates = 237,
    CmdDownloadPage = 238,
    CmdAbout = 239,
    // Tools, continued
    CmdSnmpOff = 240,
    CmdAddPdf = 241,
    CmdRemovePrinter = 242,
    CmdRunAsAdmin = 243,
    CmdOpenLog = 244,
    CmdAddPrinter = 245,
    CmdDevicesPrinters = 246,
    CmdFindDriver = 247,
    CmdFindPrinters = 248,
    CmdViewNetwork = 249,
    CmdDriverTypes = 250,
    CmdReleaseNotes = 260,
};

enum CommandFlags : uint32_t {
    CommandNeedsPrinter = 0x1,  // "selected printer or ask" first; the handler gets the index
    CommandRefusedInDemo = 0x2, // the demonstration message instead, before anything else
};

// A command's handler; printer is the selected printer for CommandNeedsPrinter commands, else -1.
typedef void (*CommandHandler)(int32_t id, int32_t printer);

struct CommandRow {
    int32_t id;
    uint32_t flags;
    CommandHandler handler;
};

// The table, and a row by id (null for an id that is not a command).
extern const CommandRow kCommands[];
extern const int32_t kCommandCount;
const CommandRow* command_row(int32_t id);

// How a command is dispatched, decided without a window: what to do first.
enum CommandStep : int32_t {
    StepUnknown = 0,    // not a command: default handling
    StepRefuseDemo = 1, // show the demonstration message
    StepAskPrinter = 2, // needs a printer, none is selected: the "click a printer" message
    StepRun = 3,        // call the handler
};
CommandStep command_step(const CommandRow* row, int32_t demo, int32_t selected_printer);

#define VANTREL_DEMO_MESSAGE                                                                                 \
    L"Vantrel is showing made-up demonstration printers (it was started with /demo), so this button "        \
    L"does nothing here.\n\nStart Vantrel normally to check and fix the real printers on this PC."
#define VANTREL_PICK_PRINTER_MESSAGE L"Click a printer in the top list first, then click this button again."

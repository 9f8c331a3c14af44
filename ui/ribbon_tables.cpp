// The ribbon's constant tables: five tabs, their groups and every button with its glyph, label and
// tooltip. The tooltips are written for someone who is not a technician: what the button does,
// when to use it, what it changes and whether Windows will ask for permission.
#include "ui/ribbon.h"

#include "ui/commands.h"

#define COUNT(a) (int32_t)(sizeof(a) / sizeof((a)[0]))

// Home

static const RibbonButton kCheckButtons[] = {
    {CmdCheckNow, 0xE72C, L"Check\nNow",
     L"Checks everything again right now, from scratch:\n\n• the Print Spooler service\n• every printer, its "
     L"status, driver and port\n• every waiting job\n• every network printer (ping, print ports, and what "
     L"the printer says about itself)\n• Windows' own print error log\n\nVantrel also re-checks by itself "
     L"every 10 seconds (Settings tab), so you normally only need this after you have changed something at "
     L"the printer — loaded paper, plugged a cable back in — and want to see the result immediately. Nothing "
     L"on the PC is changed by checking."},
    {CmdNetworkTest, 0xE839, L"Network\nTest",
     L"Tests the network connection to the selected printer (or, with no printer selected, to every network "
     L"printer), the way a technician would by hand:\n\n1. Looks the printer's name up on the network.\n2. "
     L"Pings its address: is anything switched on there?\n3. Knocks on the print ports (9100, 515, 631) and "
     L"the web ports (80, 443): is it accepting jobs?\n4. Asks the printer itself, using SNMP, what is "
     L"wrong: paper jam, out of paper, door open, toner level, page count.\n\nA printer that is switched off "
     L"takes a few seconds to give up on. Results appear in the lists, and in full under Details. Only reads "
     L"from the printer; nothing is changed."},
    {CmdDetails, 0xE946, L"Details",
     L"Everything Vantrel knows about the selected printer on one page, in plain English:\n\n• what Windows "
     L"says (status, driver, port, connection type)\n• the network test results\n• what the printer itself "
     L"reports, including toner levels and lifetime page count\n• the jobs waiting in its queue\n• every "
     L"finding about it, with the explanation and what to do\n\nDouble-clicking a printer does the same. "
     L"With a row of the bottom list selected, Details explains that row instead."},
};

static const RibbonButton kNetworkButtons[] = {
    {CmdFindPrinters, 0xE721, L"Find\nPrinters",
     L"Searches the network for every printer — installed on this PC or not — and lists each one's IP "
     L"address, MAC address, host name, model and serial number in the bottom list (Network Printers "
     L"view).\n\nVantrel knocks on the print ports (9100, 515, 631) of every address on this PC's own "
     L"network, plus the networks the installed printers are on, then asks each printer that answers what it "
     L"is. Takes about 5 to 30 seconds. Only reads; nothing is changed.\n\nIt also recognizes a printer that "
     L"has MOVED to a new address (the router gave it a new one): same MAC address or serial number as last "
     L"time. Vantrel then offers to point Windows at the new address.\n\nWhen \"Test network printers "
     L"automatically\" is on, the search also runs by itself the first time a network printer stops "
     L"answering."},
};

static const RibbonButton kQuickFixButtons[] = {
    {CmdFixThis, 0xE90F, L"Fix\nThis",
     L"The main button. Explains the selected problem in plain English and, where there is a safe one-click "
     L"fix, offers to do it.\n\n• With a row selected in the bottom \"problems\" list: that finding.\n• With "
     L"a printer selected in the top list: that printer's most serious finding.\n• With nothing selected: "
     L"the most serious finding on the PC.\n\nYou always see what the fix will do and are asked before "
     L"anything changes. Every change is recorded, and the ones that can be reversed can be put back from "
     L"History & Undo. If Windows needs administrator permission for a fix, it asks at that moment."},
    {CmdRestartSpooler, 0xE777, L"Restart\nSpooler",
     L"Stops the Print Spooler and starts it again. The Print Spooler is the Windows service every print job "
     L"passes through; restarting it is the printing version of \"switch it off and on again\" and cures "
     L"many unexplained problems (printers that vanished, jobs that sit there, error "
     L"0x00000709...).\n\nPrinting pauses for about 10 seconds. Waiting jobs are kept. Windows asks for "
     L"administrator permission. You are asked to confirm first."},
    {CmdClearStuckJobs, 0xE74D, L"Clear\nStuck Jobs",
     L"The cure for a job that will not print and will not delete (stuck on \"Deleting\" or "
     L"\"Error\").\n\nStops the Print Spooler, deletes every waiting job file from Windows' spool folder, "
     L"and starts the Print Spooler again. This is the same procedure technicians do by hand with \"net stop "
     L"spooler\".\n\nEVERY waiting job on EVERY printer on this PC is removed, so those documents must be "
     L"printed again. Printers, drivers and settings are not touched. Windows asks for administrator "
     L"permission, and you are shown exactly what will happen and asked to confirm first."},
    {CmdTestPage, 0xE749, L"Test\nPage",
     L"Sends Windows' own test page to the selected printer.\n\nThis is the quickest way to split a problem "
     L"in half:\n• The test page PRINTS: Windows, the driver, the connection and the printer are all fine. "
     L"The trouble is in the program you were printing from (or that one document).\n• The test page does "
     L"NOT print: the trouble is in Windows, the driver, the connection or the printer — look at what "
     L"Vantrel found.\n\nUses one sheet of paper."},
};

static const RibbonButton kViewButtons[] = {
    {CmdViewProblems, 0xE7BA, L"Problems",
     L"Shows in the bottom list: everything Vantrel found, most serious first.\n\nRED rows (PROBLEM) are "
     L"stopping printing. AMBER rows (Heads-up) may cause trouble or are about to. BLUE rows (Note) are "
     L"worth knowing but nothing is broken. A GREEN row means all clear.\n\nDouble-click a row for the "
     L"explanation and the fix. This is the view Vantrel starts in. Highlighted when selected."},
    {CmdViewPrintQueue, 0xE8FD, L"Print\nQueue",
     L"Shows in the bottom list: every job waiting on every printer — the document name, who sent it, its "
     L"status, its size and how long it has been waiting. Jobs print from the top down for each "
     L"printer.\n\nA job showing \"Error\" or \"Deleting\" for more than a minute is stuck; see Clear Stuck "
     L"Jobs. Highlighted when selected."},
    {CmdViewWindowsLog, 0xE7C3, L"Windows\nLog",
     L"Shows in the bottom list: the newest entries from Windows' own print logs (Event Viewer → "
     L"Applications and Services Logs → Microsoft → Windows → PrintService), without having to dig for "
     L"them:\n\n• the ERROR log (Admin), which is always on, and\n• the DETAILED log (Operational), which "
     L"records every job — who printed what, to which printer, and whether it went. Windows ships with it "
     L"switched off; Vantrel offers to switch it on.\n\nThese often name the exact document, printer or "
     L"driver file that failed. Errors are red, warnings amber. Double-click an entry to read all of it. "
     L"Highlighted when selected."},
    {CmdViewNetwork, 0xE968, L"Network\nPrinters",
     L"Shows in the bottom list: every printer found on the network by Find Printers, with its IP address, "
     L"MAC address, host name, model, serial number and the print ports it answers on — and which printer on "
     L"this PC (if any) uses it. Printers not installed on this PC are listed too, which is handy for adding "
     L"one or for spotting a printer that moved.\n\nDouble-click a row for everything about it, its web "
     L"page, and how to add it. Highlighted when selected."},
    {CmdViewDrivers, 0xE950, L"Drivers",
     L"Shows in the bottom list: every printer driver installed on this PC, its type and how many printers "
     L"use it.\n\nA driver is the translator between Windows and one model of printer. \"Type 3\" drivers "
     L"are the traditional kind from the manufacturer; \"Type 4\" are the newer, simpler kind. Drivers used "
     L"by 0 printers are leftovers from printers that were removed; they are harmless but can be removed in "
     L"Print Server Properties (Tools tab). Highlighted when selected."},
};

static const RibbonButton kRecordButtons[] = {
    {CmdSaveReport, 0xE74E, L"Save\nReport",
     L"Saves everything to a text file you choose: the PC and Windows version, the spooler, every finding "
     L"with its explanation, every printer in full detail (including network test and toner levels), the "
     L"waiting jobs, the installed drivers and Windows' print log.\n\nAttach it to a ticket or send it to "
     L"someone for a second opinion. Opens in Notepad."},
    {CmdCopySummary, 0xE8C8, L"Copy\nSummary",
     L"Copies a short summary — the PC name, the time, and one line per problem — so you can paste it "
     L"straight into a ticket, an email or a chat with Ctrl+V. For the full picture use Save Report."},
    {CmdHistory, 0xE81C, L"History\n& Undo",
     L"Shows everything Vantrel has ever changed on this PC, with the date and time: spooler restarts, "
     L"cleared jobs, switches it flipped.\n\nChanges that flipped a switch (SNMP status, Use Printer "
     L"Offline, paused/resumed, the default printer, the spooler's startup type, \"Let Windows manage my "
     L"default printer\") can be ticked and put back with one button. Changes that only cleared something "
     L"away have nothing to put back and are listed for the record."},
    {CmdOpenLog, 0xE8A5, L"Open\nLog File",
     L"Opens Vantrel's own log file. A line is added, with the date and time, whenever what Vantrel finds "
     L"changes and whenever it changes something on the PC (those lines start with CHANGE BY VANTREL). "
     L"Useful for a printer that only misbehaves now and then: leave Vantrel open and look back "
     L"later.\n\nTurn the log file on or off on the Settings tab."},
};

static const RibbonGroup kHomeGroups[] = {
    {L"Check", kCheckButtons, COUNT(kCheckButtons), 0},
    {L"Network", kNetworkButtons, COUNT(kNetworkButtons), 0},
    {L"Quick Fixes", kQuickFixButtons, COUNT(kQuickFixButtons), 0},
    {L"Show in the Bottom List", kViewButtons, COUNT(kViewButtons), 0},
    {L"Records", kRecordButtons, COUNT(kRecordButtons), 0},
};

// Tools

static const RibbonButton kSelectedPrinterButtons[] = {
    {CmdOpenQueue, 0xE8A7, L"Open\nQueue",
     L"Opens Windows' own queue window for the selected printer — the one titled with the printer's name "
     L"that lists its documents. From its Printer menu you can pause printing, cancel all documents, or "
     L"untick Use Printer Offline by hand."},
    {CmdProperties, 0xE713, L"Properties",
     L"Opens Windows' Printer Properties for the selected printer. This is where the port (the Ports tab, "
     L"including the printer's IP address and the SNMP switch under Configure Port), sharing, and the driver "
     L"(Advanced tab) are changed."},
    {CmdPreferences, 0xE9E9, L"Printing\nPreferences",
     L"Opens the selected printer's Printing Preferences: paper size, tray, one- or two-sided, color or "
     L"black-and-white, quality. If pages come out on the wrong paper or the printer keeps asking for a tray "
     L"to be loaded, the paper size here does not match what is in the printer."},
    {CmdFindDriver, 0xE896, L"Find\nDriver",
     L"Finds the correct driver for the selected printer on its MAKER'S OWN WEBSITE.\n\nVantrel works out "
     L"the maker and model (best from the printer itself during a Network Test, otherwise from the driver or "
     L"printer name), shows you what it found, copies the model, and opens a web search limited to that "
     L"maker's own website (the makers' own sites of HP and Samsung, Brother, Canon, Epson, Lexmark, "
     L"Kyocera, Xerox, Ricoh, Konica Minolta, Sharp, Toshiba, Dell, Zebra and OKI).\n\nUse it for \"Driver "
     L"is unavailable\", a missing driver, or a generic driver. It deliberately avoids \"driver download\" "
     L"and \"driver updater\" sites, which often give the wrong driver or bundle unwanted software."},
};

static const RibbonButton kWindowsButtons[] = {
    {CmdPrintersSettings, 0xE772, L"Printers &\nScanners",
     L"Opens the Printers & scanners page of Windows Settings, where printers are added and removed and the "
     L"default printer is chosen."},
    {CmdDevicesPrinters, 0xE7F4, L"Devices &\nPrinters",
     L"Opens the classic Devices and Printers window from Control Panel. Many technicians find it quicker "
     L"than Settings: right-click a printer for See what's printing, Printer properties, Printing "
     L"preferences and Remove device. (On the newest versions of Windows 11 Microsoft may send this to the "
     L"Settings page instead.)"},
    {CmdAddPrinter, 0xE710, L"Add a\nPrinter",
     L"Opens Windows' classic Add Printer wizard. Choose \"The printer that I want isn't listed\", then "
     L"\"Add a printer using an IP address or hostname\". That gives a Standard TCP/IP port — the most "
     L"reliable kind — instead of the WSD connection Windows picks when it finds a printer by itself. Needs "
     L"the printer's driver, or Windows offers one from its own list."},
    {CmdPrintServer, 0xE977, L"Print\nServer",
     L"Opens Print Server Properties for this PC. Its Drivers tab lists every installed printer driver and "
     L"can remove a damaged or leftover one; its Ports tab lists every port. Useful when a driver must be "
     L"removed completely before reinstalling it."},
    {CmdPrintManagement, 0xE8F1, L"Print\nManagement",
     L"Opens Windows' Print Management console (printers, drivers, ports and queues in one tree). It is part "
     L"of Windows Pro and Enterprise; Windows Home does not include it, and Vantrel tells you if it is not "
     L"there."},
    {CmdWebPage, 0xE774, L"Printer's\nWeb Page",
     L"Opens the selected network printer's built-in web page in your browser (http:// followed by its "
     L"address). Nearly every network printer has one. It shows the printer's exact error, toner levels and "
     L"network settings, and is the quickest way to confirm that the address really belongs to this "
     L"printer."},
    {CmdTroubleshooter, 0xE9CE, L"Windows\nTroubleshooter",
     L"Starts Windows' own printer troubleshooter. On newer versions of Windows 11 this opens the Get Help "
     L"app instead. It can catch a few things from inside Windows that Vantrel cannot, so it is a reasonable "
     L"second opinion."},
};

static const RibbonButton kAdvancedButtons[] = {
    {CmdPauseResume, 0xE769, L"Pause /\nResume",
     L"Pauses the selected printer's queue, or resumes it if it is paused. While paused, jobs are accepted "
     L"but held. Handy for stopping a runaway job without losing the ones behind it. Recorded in History & "
     L"Undo."},
    {CmdOfflineOnline, 0xE8FB, L"Offline /\nOnline",
     L"Ticks or unticks Windows' \"Use Printer Offline\" for the selected printer. While it is ticked "
     L"Windows holds every job and never tries to send it. Recorded in History & Undo."},
    {CmdSetDefault, 0xE734, L"Set\nDefault",
     L"Makes the selected printer the default — the one programs use when you do not pick a printer. The "
     L"previous default is remembered and can be put back from History & Undo.\n\nIf Windows keeps changing "
     L"it back, see the \"Windows is allowed to change the default printer by itself\" finding."},
    {CmdCancelAllJobs, 0xE711, L"Cancel\nAll Jobs",
     L"Cancels every waiting job on the selected printer only. Other printers are not touched. People must "
     L"print those documents again. You are asked to confirm.\n\nIf a job refuses to go away, use Clear "
     L"Stuck Jobs on the Home tab instead."},
    {CmdSnmpOff, 0xE7E8, L"SNMP\nStatus Off",
     L"Switches off \"SNMP Status Enabled\" on the selected printer's TCP/IP port and restarts the Print "
     L"Spooler. This stops Windows from marking a healthy network printer Offline just because the printer "
     L"does not answer SNMP. Can be put back from History & Undo. Needs administrator permission."},
    {CmdAddPdf, 0xEA90, L"Add Print\nto PDF",
     L"Switches on the Windows feature \"Microsoft Print to PDF\" (or switches it back on if its printer "
     L"went missing). Takes a minute or two and needs administrator permission."},
    {CmdRemovePrinter, 0xE74D, L"Remove\nPrinter",
     L"Removes the selected printer from this PC and cancels its jobs. This can NOT be undone from Vantrel; "
     L"the printer would have to be added again in Windows. Meant for duplicates (\"Copy 1\") and printers "
     L"that no longer exist. You are asked to confirm, and the default answer is No."},
    {CmdRunAsAdmin, 0xEA18, L"Run as\nAdmin",
     L"Restarts Vantrel as administrator (Windows asks for permission once).\n\nNot normally needed: Vantrel "
     L"asks for permission by itself at the moment a fix needs it. Running as administrator also lets it "
     L"count the leftover files in Windows' spool folder, and saves being asked again for each "
     L"fix.\n\nHighlighted when Vantrel is already running as administrator."},
};

static const RibbonGroup kToolsGroups[] = {
    {L"Selected Printer", kSelectedPrinterButtons, COUNT(kSelectedPrinterButtons), 0},
    {L"Windows", kWindowsButtons, COUNT(kWindowsButtons), 0},
    {L"Advanced (selected printer)", kAdvancedButtons, COUNT(kAdvancedButtons), 0},
};

// Settings: the page below the ribbon holds everything, so the tab only says so.

static const RibbonGroup kSettingsGroups[] = {
    {L"All settings are on the page below. Every change takes effect immediately.", nullptr, 0, 520},
};

// Share

static const RibbonButton kTellButtons[] = {
    {CmdShare, 0xE72D, L"Share\nVantrel…",
     L"Opens the Share window, where you can type the person's name, email address or mobile number, edit "
     L"the message, and send it by email, Gmail, Outlook on the web, Facebook Messenger, WhatsApp, text "
     L"message or Microsoft Teams — or email the program itself as an attachment."},
};

static const RibbonButton kQuickSendButtons[] = {
    {CmdShareEmail, 0xE715, L"Email",
     L"Opens a new email in your email program (Outlook, Mail, etc.) with a ready-made message and the "
     L"Vantrel download link already filled in. You just pick who to send it to.\n\nFor more choices (Gmail, "
     L"Outlook on the web, attaching the program itself), use Share Vantrel…"},
    {CmdShareMessenger, 0xE8BD, L"Messenger",
     L"Copies a ready-made message (with the download link) and opens Facebook Messenger in your web "
     L"browser. Pick the person, click in the message box and press Ctrl+V to paste it.\n\n(Facebook doesn't "
     L"let other programs type into Messenger for you, so the paste step is needed.)"},
    {CmdShareWhatsApp, 0xE8F2, L"WhatsApp",
     L"Opens WhatsApp (the app if it's installed, otherwise WhatsApp Web) with a ready-made message and the "
     L"download link already typed. You just choose who to send it to."},
    {CmdShareText, 0xE8EA, L"Text\nMessage",
     L"Opens your PC's texting app (such as Phone Link) with a ready-made message and the download link. If "
     L"no texting app is set up on this PC, the message is copied so you can paste it into a text on your "
     L"phone."},
    {CmdCopyLink, 0xE71B, L"Copy\nLink",
     L"Copies the Vantrel download link so you can paste it anywhere — a ticket, a chat, a website. The link "
     L"always gives the newest version."},
};

static const RibbonGroup kShareGroups[] = {
    {L"Tell Someone", kTellButtons, COUNT(kTellButtons), 0},
    {L"Quick Send", kQuickSendButtons, COUNT(kQuickSendButtons), 0},
};

// Help

static const RibbonButton kHelpButtons[] = {
    {CmdHowToUse, 0xE897, L"How to\nUse",
     L"Plain-English instructions: what Vantrel checks, how to read the colors, and what each fix does."},
    {CmdCheckUpdates, 0xE895, L"Check for\nUpdates",
     L"Checks right now whether a newer Vantrel is available. If there is one, a yellow bar appears under "
     L"the ribbon with what's new and an Update now button. Vantrel also checks by itself every 6 hours "
     L"(Settings tab)."},
    {CmdDownloadPage, 0xE774, L"Download\nPage",
     L"Opens the Vantrel download page in your web browser. It always has the newest version — handy for "
     L"putting Vantrel on another PC."},
    {CmdReleaseNotes, 0xE8A5, L"Release\nNotes",
     L"What changed in each version of Vantrel, newest first. Vantrel also shows this by itself the first "
     L"time it starts after an update."},
    {CmdDriverTypes, 0xE8A1, L"Driver\nTypes",
     L"A plain-English guide to printer drivers and printer languages: PCL 6, PCL 5, PostScript (PS), XPS "
     L"and v4 drivers, Canon UFR II, host-based (GDI), dot-matrix ESC/P and label printers — what each is, "
     L"which to choose, and the difference between Type 3 and Type 4 drivers and model-specific and "
     L"universal drivers."},
    {CmdAbout, 0xE946, L"About", L"Version, copyright and credits."},
};

static const RibbonGroup kHelpGroups[] = {
    {L"Help", kHelpButtons, COUNT(kHelpButtons), 0},
};

const RibbonTab kRibbonTabs[kRibbonTabCount] = {
    {L"Home", kHomeGroups, COUNT(kHomeGroups),
     L"Check the printers, fix what is wrong, choose what the bottom list shows, and save a report."},
    {L"Tools", kToolsGroups, COUNT(kToolsGroups),
     L"Shortcuts to Windows' own printer windows for the selected printer, plus the advanced tools (shown "
     L"when \"Show expert tools\" is on in Settings)."},
    {L"Settings", kSettingsGroups, COUNT(kSettingsGroups),
     L"Automatic checking, network tests, expert tools, the log file and automatic updates. Every change "
     L"takes effect immediately."},
    {L"Share", kShareGroups, COUNT(kShareGroups),
     L"Tell someone about Vantrel by email, Messenger, WhatsApp, text message or Teams."},
    {L"Help", kHelpGroups, COUNT(kHelpGroups), L"Instructions, updates, the download page, and About."},
};

const wchar_t* const kRibbonVersionTooltip = L"The version of Vantrel you're running. Click for About.";

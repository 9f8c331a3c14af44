// The pure half of Find Driver: the question built from the printer and its guessed model.
#include "driver_search.h"

#include "core/text.h"

void find_driver_question(const PrinterRecord* printer, const ModelGuess* guess, int32_t ask_printer,
                          wchar_t* out, size_t cap) {
    static const PrinterRecord kNoPrinter = {};
    static const ModelGuess kNoGuess = {};
    const PrinterRecord* p = printer ? printer : &kNoPrinter;
    const ModelGuess* g = guess ? guess : &kNoGuess;
    // Only a printer that may be asked, and has an address to ask, can tell its exact model.
    const wchar_t* hint =
        !p->net.snmpAnswered && p->address[0] && ask_printer
            ? L" (Running the Network Test first lets the printer tell Vantrel its exact model.)"
            : L"";
    text_format(
        out, cap,
        L"Vantrel will search for the driver on the printer maker's own website.\n\nPrinter: %ls\nModel: "
        L"%ls\nMaker: %ls\n\nDownload the driver for Windows 64-bit from the maker's page (not from a "
        L"\"driver download\" site), run it, and pick this printer when it asks. The model is also "
        L"copied, so you can paste it into the maker's own search box with Ctrl+V.\n\nIf the model shown "
        L"is not quite right, check the label on the printer.%ls\n\nOpen the search now?",
        p->name, g->model, g->maker[0] ? g->maker : L"not sure (searching the whole web)", hint);
}

// Find Driver: the question that shows the printer's guessed maker and model before the maker's
// driver page is searched for. A pure function of the printer record, so the guess and the hint can
// be tested without a window; the window asks it and opens the search.
#pragma once

#include <stddef.h>
#include <stdint.h>
#include <wchar.h>

#include "core/snapshot.h"
#include "net/maker.h"

#define VANTREL_BUILT_IN_NO_DRIVER                                                                           \
    L"This one is built into Windows (or is a PDF maker), so it has no manufacturer's driver to download."

// The text of the "Find Driver" question for a printer and its guess; ask_printer is the AskPrinter
// setting (the hint about the Network Test only makes sense when the printer may be asked).
void find_driver_question(const PrinterRecord* printer, const ModelGuess* guess, int32_t ask_printer,
                          wchar_t* out, size_t cap);

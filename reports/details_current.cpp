// The details page of a session's printer, with the process's settings.
#include "core/session.h"
#include "core/settings.h"
#include "reports/details.h"

void printer_details(const Session* session, int32_t index, wchar_t* buf, size_t cap) {
    printer_details_of(session ? session->snapshot : nullptr, session ? &session->findings : nullptr,
                       g_settings.checkVirtual, index, buf, cap);
}

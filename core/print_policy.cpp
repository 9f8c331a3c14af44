// The meaning of the print-related settings (print_policy.h).
#include "core/print_policy.h"

#include <wchar.h>

#include "core/text.h"

int pc_uses_rpc_over_tcp(const Snapshot* s) {
    if (!s || s->windowsBuild < kRpcOverTcpFirstBuild) return 0;
    return !(s->rpcUseNamedPipe.present && s->rpcUseNamedPipe.value == 1);
}

int driver_install_restricted(const Snapshot* s) {
    return s && !(s->restrictDriverInstallation.present && s->restrictDriverInstallation.value == 0);
}

int point_and_print_unprotected(const Snapshot* s) {
    if (!s || driver_install_restricted(s)) return 0;
    return (s->noWarningNoElevationOnInstall.present && s->noWarningNoElevationOnInstall.value != 0) ||
           (s->updatePromptSettings.present && s->updatePromptSettings.value != 0);
}

int is_ipp_class_driver(const wchar_t* driver_name) {
    return driver_name && text_equal_ci(driver_name, VANTREL_IPP_CLASS_DRIVER);
}

int is_pooled_printer(const PrinterRecord* p) {
    if (!p) return 0;
    int ports = 0, in_name = 0;
    for (size_t i = 0; i < _countof(p->portName) && p->portName[i]; i++) {
        wchar_t c = p->portName[i];
        if (c == L',')
            in_name = 0;
        else if (c != L' ' && !in_name)
            in_name = 1, ports++;
    }
    return ports > 1;
}

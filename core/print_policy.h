// What the print-related settings of a snapshot mean, for the rules and the reports alike: how this
// PC reaches print servers, whether Point and Print still protects it, and which printers are pools
// or on Windows' own IPP class driver. Pure: plain records in, answers out.
#pragma once

#include <stdint.h>

#include "core/snapshot.h"

// Where the values live, under HKEY_LOCAL_MACHINE.
#define VANTREL_POINT_AND_PRINT_KEY L"SOFTWARE\\Policies\\Microsoft\\Windows NT\\Printers\\PointAndPrint"
#define VANTREL_PRINTER_RPC_KEY L"SOFTWARE\\Policies\\Microsoft\\Windows NT\\Printers\\RPC"
#define VANTREL_PRINT_KEY L"SYSTEM\\CurrentControlSet\\Control\\Print"

// Windows 11 version 22H2 (build 22621) and later reach shared printers over RPC on TCP unless
// the RpcUseNamedPipeProtocol policy is 1; earlier builds use named pipes (SMB) only.
enum { kRpcOverTcpFirstBuild = 22621 };
int pc_uses_rpc_over_tcp(const Snapshot* s);

// Point and Print lets any user install a driver without a prompt: the restriction to
// administrators is 0 and NoWarningNoElevationOnInstall or UpdatePromptSettings is not 0.
int point_and_print_unprotected(const Snapshot* s);
// The restriction to administrators is on: 1, any other non-zero value, or absent (the default).
int driver_install_restricted(const Snapshot* s);

// The driver Windows installs by itself for IPP (Mopria) printers.
#define VANTREL_IPP_CLASS_DRIVER L"Microsoft IPP Class Driver"
int is_ipp_class_driver(const wchar_t* driver_name);

// A printer whose port list names more than one port.
int is_pooled_printer(const PrinterRecord* p);

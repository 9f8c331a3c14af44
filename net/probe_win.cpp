// Parallel connects. Winsock's fd_set holds FD_SETSIZE sockets, 64 by default, and FD_SET silently
// ignores sockets beyond that, so a batch of 250 would quietly lose most of its answers: the size
// is raised before winsock2.h is seen.
#define FD_SETSIZE 256
#include <winsock2.h>
#include <windows.h>

#include "net/probe.h"

static_assert(FD_SETSIZE >= kMaxProbes, "one select must hold a whole batch");

void probe_tcp(TcpProbe* probes, int count, int budget_ms) {
    if (count > kMaxProbes) count = kMaxProbes;
    SOCKET sockets[kMaxProbes];
    for (int i = 0; i < count; ++i) {
        probes[i].open = 0;
        sockets[i] = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        if (sockets[i] == INVALID_SOCKET) continue;
        u_long nonblocking = 1;
        sockaddr_in to = {};
        to.sin_family = AF_INET;
        to.sin_port = htons(probes[i].port);
        to.sin_addr.s_addr = htonl(probes[i].address);
        if (ioctlsocket(sockets[i], FIONBIO, &nonblocking) != 0) {
            closesocket(sockets[i]);
            sockets[i] = INVALID_SOCKET;
            continue;
        }
        if (connect(sockets[i], (const sockaddr*)&to, sizeof(to)) == 0) {
            probes[i].open = 1; // loopback may complete at once
        } else if (WSAGetLastError() != WSAEWOULDBLOCK) {
            closesocket(sockets[i]);
            sockets[i] = INVALID_SOCKET;
        }
    }

    ULONGLONG deadline = GetTickCount64() + (ULONGLONG)(budget_ms > 0 ? budget_ms : 0);
    for (;;) {
        fd_set writable, failed;
        FD_ZERO(&writable);
        FD_ZERO(&failed);
        int pending = 0;
        for (int i = 0; i < count; ++i) {
            if (sockets[i] == INVALID_SOCKET || probes[i].open) continue;
            FD_SET(sockets[i], &writable);
            FD_SET(sockets[i], &failed);
            ++pending;
        }
        if (pending == 0) break;
        LONGLONG left = (LONGLONG)deadline - (LONGLONG)GetTickCount64();
        if (left <= 0) break;
        timeval tv;
        tv.tv_sec = (long)(left / 1000);
        tv.tv_usec = (long)((left % 1000) * 1000);
        if (select(0, nullptr, &writable, &failed, &tv) <= 0) break;
        for (int i = 0; i < count; ++i) {
            if (sockets[i] == INVALID_SOCKET || probes[i].open) continue;
            bool refused = FD_ISSET(sockets[i], &failed);
            if (!refused && FD_ISSET(sockets[i], &writable)) {
                // Some stacks report a refused connect as writable with the error pending.
                int error = 0, length = sizeof(error);
                if (getsockopt(sockets[i], SOL_SOCKET, SO_ERROR, (char*)&error, &length) == 0 && error != 0)
                    refused = true;
                else
                    probes[i].open = 1;
            }
            if (refused) {
                closesocket(sockets[i]);
                sockets[i] = INVALID_SOCKET;
            }
        }
    }
    for (int i = 0; i < count; ++i)
        if (sockets[i] != INVALID_SOCKET) closesocket(sockets[i]);
}

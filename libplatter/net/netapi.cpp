// netapi.cpp - the network family's set-up calls: Winsock for the calling
// thread, and the time-outs every conversation uses.
#include "libplatter/cboundary.h"
#include "libplatter/net/connection.h"
#include "platter/platter.h"

#include <winsock2.h>

extern "C" int platter_net_init(void)
{
    return guardedCall<int>("platter_net_init", PLATTER_FAIL, [&]() -> int {
        WSADATA data;
        return WSAStartup(MAKEWORD(2, 2), &data) == 0 ? 1 : 0;
    });
}

extern "C" int platter_net_cleanup(void)
{
    return guardedCall<int>("platter_net_cleanup", PLATTER_FAIL, [&]() -> int {
        return WSACleanup() == 0 ? 1 : 0;
    });
}

extern "C" int platter_net_set_timeouts(int connectMs, int readMs, int operationMs)
{
    return guardedCall<int>("platter_net_set_timeouts", PLATTER_FAIL, [&]() -> int {
        net::setTimeouts(net::Timeouts{connectMs, readMs, operationMs});
        return 1;
    });
}

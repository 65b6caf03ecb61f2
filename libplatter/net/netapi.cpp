// netapi.cpp - the network family's set-up calls: Winsock for the calling
// thread, and the time-outs every conversation uses.
#include "libplatter/net/connection.h"
#include "platter/platter.h"

#include <winsock2.h>

extern "C" int platter_net_init(void)
{
    WSADATA data;
    return WSAStartup(MAKEWORD(2, 2), &data) == 0 ? 1 : 0;
}

extern "C" int platter_net_cleanup(void)
{
    return WSACleanup() == 0 ? 1 : 0;
}

extern "C" int platter_net_set_timeouts(int connectMs, int readMs, int operationMs)
{
    net::setTimeouts(net::Timeouts{connectMs, readMs, operationMs});
    return 1;
}

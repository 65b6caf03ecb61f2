// httpclient.h - one HTTP/1.0 request and its whole response over a
// bounded connection.
#ifndef LIBPLATTER_NET_HTTPCLIENT_H
#define LIBPLATTER_NET_HTTPCLIENT_H

#include "libplatter/net/connection.h"
#include "libplatter/net/httpreply.h"

#include <string>

namespace net {

enum class HttpOutcome { Ok, HostNotFound, ConnectFailed, TimedOut, Invalid };

// Connects to host:port, sends `request` (head and body), and reads the
// response until it is complete. `problem` says what went wrong.
HttpOutcome httpExchange(const std::string &host, int port, const std::string &request, HttpResponse *response,
                         std::string *problem);

} // namespace net

#endif

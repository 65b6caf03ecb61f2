// httpclient.cpp - one bounded HTTP exchange.
#include "libplatter/net/httpclient.h"
#include "libplatter/diag.h"

namespace net {

HttpOutcome httpExchange(const std::string &host, int port, const std::string &request, HttpResponse *response,
                         std::string *problem)
{
    Connection link("HTTP");
    NetStatus status = link.open(host, port);
    if (status == NetStatus::HostNotFound)
        return HttpOutcome::HostNotFound;
    if (status != NetStatus::Ok)
        return HttpOutcome::ConnectFailed;
    size_t headEnd = request.find("\r\n\r\n");
    std::string head = headEnd == std::string::npos ? request : request.substr(0, headEnd);
    status = link.send(request, head);
    if (status != NetStatus::Ok) {
        *problem = statusName(status);
        return status == NetStatus::TimedOut ? HttpOutcome::TimedOut : HttpOutcome::Invalid;
    }
    std::string raw;
    for (;;) {
        status = link.readMore(&raw);
        bool closed = status == NetStatus::Closed;
        if (status != NetStatus::Ok && !closed) {
            *problem = statusName(status);
            return status == NetStatus::TimedOut ? HttpOutcome::TimedOut : HttpOutcome::Invalid;
        }
        HttpState state = parseHttpResponse(raw, closed, response, problem);
        if (state == HttpState::Complete)
            break;
        if (state == HttpState::Invalid) {
            platterDiag("HTTP: %s", problem->c_str());
            return HttpOutcome::Invalid;
        }
    }
    auto line = raw.find('\n');
    platterDiag("HTTP < %s", raw.substr(0, line == std::string::npos ? 80 : line).c_str());
    return HttpOutcome::Ok;
}

} // namespace net

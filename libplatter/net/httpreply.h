// httpreply.h - HTTP/1.x responses as the CDDB and submission clients get
// them: the status line, the header fields, and a body delimited by
// Content-Length, by chunks, or by the end of the connection; and the
// pieces of an http:// URL. Platform-neutral, so that it can be fuzzed.
#ifndef LIBPLATTER_NET_HTTPREPLY_H
#define LIBPLATTER_NET_HTTPREPLY_H

#include <map>
#include <string>

namespace net {

// The most a response may hold, head and body together.
const size_t kMaxHttpResponseBytes = 1024 * 1024;

struct HttpResponse {
    int status = 0;
    std::map<std::string, std::string> headers; // names in lower case
    std::string body;                           // chunks already joined
};

enum class HttpState { Incomplete, Complete, Invalid };

// Looks at what has arrived so far. `closed` tells whether the connection
// has ended; a body without a length is complete only then. Fills `response`
// once complete; `problem` says why a response is invalid.
HttpState parseHttpResponse(const std::string &raw, bool closed, HttpResponse *response, std::string *problem);

// "http://host[:port][/path]". The port defaults to 80 and the path to "/".
struct HttpUrl {
    std::string host;
    int port = 80;
    std::string path;
};
bool parseHttpUrl(const std::string &text, HttpUrl *url);

// Percent-encodes a query value, blanks becoming '+'.
std::string urlEncode(const std::string &text);

} // namespace net

#endif

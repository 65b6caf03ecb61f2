// httpreply_fuzz.cpp - the HTTP response parser on any bytes, whole and cut
// at every chunk boundary a slow server could make; URLs and mail text too.
#include "libplatter/net/httpreply.h"
#include "libplatter/net/mailtext.h"

#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    std::string raw((const char *)data, size);
    net::HttpResponse response;
    std::string problem;
    net::parseHttpResponse(raw, true, &response, &problem);
    for (size_t cut = 0; cut < raw.size(); cut += 1 + raw.size() / 16)
        net::parseHttpResponse(raw.substr(0, cut), false, &response, &problem);
    net::HttpUrl url;
    net::parseHttpUrl(raw, &url);
    net::urlEncode(raw);
    std::string mail = net::mailData("a@b", "c@d", raw.substr(0, 40), "date", raw);
    if (mail.size() < 2 || mail.compare(mail.size() - 2, 2, "\r\n") != 0)
        __builtin_trap();
    return 0;
}

// cddbreply_fuzz.cpp - every parser of CDDB and SMTP server lines, fed the
// lines of any bytes as a server might send them.
#include "libplatter/cddb/replies.h"
#include "libplatter/net/mailtext.h"

#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    std::string text((const char *)data, size);
    cddb::BodyReader body;
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        std::string line = text.substr(start, end - start);
        int code, current, supported;
        bool last;
        std::string rest;
        cddb::Match match;
        cddb::Site site;
        if (cddb::parseStatusLine(line, &code, &rest))
            cddb::parseProtoLevels(rest, &current, &supported);
        cddb::parseMatchLine(line, &match);
        cddb::parseSiteLine(line, &site);
        cddb::isCategoryName(line);
        net::parseSmtpReplyLine(line, &code, &last, &rest);
        body.add(line);
        start = end + 1;
    }
    return 0;
}

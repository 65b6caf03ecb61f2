// httpsubmit.h - a CDDB submission posted to a submission script over HTTP
// (the way today's CDDB service takes them), with smtp_send's results.
#ifndef LIBPLATTER_NET_HTTPSUBMIT_H
#define LIBPLATTER_NET_HTTPSUBMIT_H

#include <string>

namespace net {

// Posts `body` to `url` with the Category and Discid taken from the mail
// subject ("cddb CATEGORY DISCID") and `from` as the User-Email.
int submitOverHttp(const char *url, const char *from, const char *subject, const std::string &body);

} // namespace net

#endif

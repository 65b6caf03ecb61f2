// mailtext.h - the text of a submission mail: header fields, the body's
// charset, CR LF line ends and dot-stuffing for SMTP's DATA. Platform-neutral.
#ifndef LIBPLATTER_NET_MAILTEXT_H
#define LIBPLATTER_NET_MAILTEXT_H

#include <string>

namespace net {

// "US-ASCII" for plain ASCII, "UTF-8" for well-formed UTF-8, else "ISO-8859-1".
const char *bodyCharset(const std::string &body);

// The message as DATA sends it: From, To, Subject, Date, the MIME fields
// naming the charset, an empty line, then the body with CR LF line ends and
// every line that starts with "." doubled; without the final "." line.
// `date` is an RFC 5322 date ("Tue, 05 Mar 2024 10:00:00 +0100").
std::string mailData(const std::string &from, const std::string &to, const std::string &subject,
                     const std::string &date, const std::string &body);

// A header value that is not ASCII, as an RFC 2047 encoded word.
std::string headerText(const std::string &text, const char *charset);

// The body with CR LF line ends (CR, LF and CR LF all end a line), ending
// with one.
std::string crlfLines(const std::string &body);

// One line of an SMTP reply: "250-first" (more follow) or "250 last".
bool parseSmtpReplyLine(const std::string &line, int *code, bool *last, std::string *text);

// The longest reply line taken from a server, in bytes.
const size_t kMaxReplyLineBytes = 1024;

} // namespace net

#endif

// textcodec.h - the code page edge of the CDDB family. The program speaks
// the ANSI code page with CR LF line breaks; entries on the network and in
// files are UTF-8 (protocol level 6, newer files) or ISO-8859-1 (lower
// levels, older files) with LF line breaks. Characters the ANSI code page
// lacks become "?".
#ifndef LIBPLATTER_CDDB_TEXTCODEC_H
#define LIBPLATTER_CDDB_TEXTCODEC_H

#include "libplatter/cddb/xmcd.h"

#include <string>

namespace cddb {

enum class Charset { Utf8, Latin1, Guess };

// Bytes in `charset` into the ANSI code page. Guess takes UTF-8 when the
// bytes are well-formed UTF-8 and ISO-8859-1 otherwise; so does Utf8 when
// the bytes are not well-formed (a server that mislabels its texts).
std::string toAnsi(const std::string &bytes, Charset charset);
// ANSI text into UTF-8.
std::string ansiToUtf8(const std::string &ansi);

// An entry's texts from the file's bytes into ANSI with CR LF breaks.
XmcdEntry entryToAnsi(const XmcdEntry &entry, Charset charset);
// An entry's texts from ANSI with CR LF breaks into UTF-8 with LF breaks.
XmcdEntry entryToUtf8(const XmcdEntry &entry);

} // namespace cddb

#endif

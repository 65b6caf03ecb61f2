// xmcd_fuzz.cpp - the xmcd parser and the range-file splitter on any bytes.
// An entry the parser takes must survive the writer: written and read
// again, it holds the same texts.
#include "libplatter/cddb/xmcd.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    std::string text((const char *)data, size);
    cddb::XmcdEntry entry;
    std::string problem;
    if (cddb::parseXmcd(text, &entry, &problem)) {
        cddb::XmcdEntry again;
        if (!cddb::parseXmcd(cddb::writeXmcd(entry), &again, &problem))
            abort();
        if (again.artist != entry.artist || again.title != entry.title || again.discText != entry.discText ||
            again.trackTitles != entry.trackTitles || again.trackTexts != entry.trackTexts ||
            again.discIds != entry.discIds || again.playOrder != entry.playOrder)
            abort();
    }
    std::vector<cddb::RangeFileEntry> entries;
    if (cddb::splitRangeFile(text, &entries, &problem))
        for (const cddb::RangeFileEntry &one : entries)
            cddb::parseXmcd(one.text, &entry, &problem);
    return 0;
}

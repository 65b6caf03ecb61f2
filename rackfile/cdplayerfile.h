// cdplayerfile.h - the discs of a Windows CD Player file (Cdplayer.ini):
// one section per disc, named by its id in hexadecimal, with the artist,
// the title, the track names under "0", "1", ... and the play order.
#ifndef RACKFILE_CDPLAYERFILE_H
#define RACKFILE_CDPLAYERFILE_H

#include "rackfile/entrydata.h"

#include <string>
#include <vector>

struct CdPlayerDisc {
    uint32_t winId = 0;
    EntryData entry;    // texts and program; no track layout (the file has none)
    bool empty = true;  // nothing but the CD Player's placeholders
};

// Reads every disc section of the file; false when the file cannot be read
// or holds no disc section at all.
bool readCdPlayerFile(const std::string &file, std::vector<CdPlayerDisc> *discs);

// The play order of the file ("2 0 1": track indexes from 0) as a program of
// 1-based tracks, at most `count` entries, ending at the first empty entry;
// entries outside the disc are dropped; the plain disc order is no program.
std::vector<int32_t> programFromOrder(const std::string &order, int count, int trackCount);

#endif

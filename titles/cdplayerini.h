// cdplayerini.h - taking a disc's titles and play order from the Windows CD
// Player's file Cdplayer.ini (read only, through the profile interface).
#ifndef TITLES_CDPLAYERINI_H
#define TITLES_CDPLAYERINI_H

#include <cstdint>

// Takes artist, disc title, track names and play order of the disc winId
// into the drive's record, with driveLock held throughout. 1 when anything
// was taken.
int importCdPlayerTitles(int drive, uint32_t winId);

// The file read: "Cdplayer.ini" in the Windows folder unless a test names
// another (a full path); null or "" goes back to the Windows folder's.
void setCdPlayerIniFile(const char *path);

#endif

// statustext.h - the two texts that tell the user where play stands: the
// control panel's status or title line and the tray icon's tip.
#ifndef PLAYER_STATUSTEXT_H
#define PLAYER_STATUSTEXT_H

#include <cstddef>

// Room for the longest time text ("(99) 999:59" and the like).
#define TIME_TEXT_SIZE 32

// The time text formatTimeText built last.
extern char timeText[TIME_TEXT_SIZE];

// Builds timeText for a track of the current drive and a position within it
// (minutes, seconds) as TimeDisplayMode asks: track elapsed "(3) 1:05",
// track remaining "(3) 3:05", disc elapsed "13:35", disc remaining "31:25".
// An unknown mode, or a time the drive cannot tell, leaves timeText as it was.
void formatTimeText(int track, int minutes, int seconds);

// Rebuilds the status line (control 1051) or title line (control 1055) of
// the main window, as ControlsDisplayType chooses, and the tray tip.
void updateStatusText();

#endif

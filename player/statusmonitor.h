// statusmonitor.h - following the drives from the main window's timers: the
// 5-second poll of the drives that are not current, the 1-second poll of the
// current drive, and fast forward and rewind while a panel button is held.
#ifndef PLAYER_STATUSMONITOR_H
#define PLAYER_STATUSMONITOR_H

// Scan state: a scan runs from the eighth tick of a held next or previous
// button until its release or the end of the order.
extern int scanActive;       // a scan is under way
extern int scanDelay;        // ticks left before a held button starts to scan
extern int scanTicks;        // ticks since the scan began
extern int scanPosition;     // seconds from the start of the current track
extern int scanTrackLength;  // seconds, the current track's length

// Discs coming and going in the drives that are not current.
void pollOtherDrives();
// The current drive: track changes, end of a track or introduction window,
// removal, and play operations made by another application.
void pollCurrentDrive();
// One 100-ms tick of a held next (forward) or previous (back) button while
// playing.
void scanTick(bool forward);
// The held button was released while scanning: play on from the scanned place.
void scanResume();

// Timer periods of the polls.
#define MEDIA_POLL_MS 5000
#define STATUS_POLL_MS 1000

#endif

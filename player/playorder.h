// playorder.h - which track plays next, and starting it: disc order, the
// programmed order, random order on one disc or across all drives, repeat,
// introduction play and eject at the end. Works on the model of drives.h.
#ifndef PLAYER_PLAYORDER_H
#define PLAYER_PLAYORDER_H

#include <cstdint>

// The events that move play on.
enum AdvanceReason {
    AdvanceStart = 1,        // Play from stopped, a new current drive, a disc arriving
    AdvanceRestart = 2,      // the current track again from its start
    AdvanceTrackEnded = 3,   // the track (or its introduction window) is over
    AdvanceNext = 4,         // Next Track
    AdvancePrevious = 5      // Previous Track
};

// Moves play for one event and, when a track was chosen, starts it
// (playState takes the drive's new state).
void advancePlay(int reason);

// Starts a track of the current drive: from its start, or from the start of
// its introduction window in introduction play. Returns the drive's new
// play state; a track the disc does not have is not sent to the drive and
// the state is returned unchanged.
int playTrack(int track);

// The end of the introduction window, in seconds from the start of a track
// of the given length (the monitor leaves the track once past it).
int introWindowEnd(int trackLengthSeconds);

// 1 when the drive should stop at the end of each track (random, intro,
// repeat current, or a programmed disc), 0 when it plays on through the disc.
int singleTrackPlay();

// Marks currentTrack of the current drive as played in this pass.
void markCurrentPlayed();

// The order operations, all on the current drive.
void clearPlayedFlags();     // every loaded drive: nothing played yet
int pickRandomDrive();       // a random drive with something left to play; 1/0
int pickRandomTrack();       // a random unplayed track (or program entry); 1/0
int firstTrack();            // the first of the order; 0 when the disc has nothing to play
int lastTrack();             // the last of the order; 0 when the disc has nothing to play
int nextTrack(int force);    // on in the order (force 0 honours Repeat Current); 1/0
int previousTrack();         // back in the order; 1/0

// True when track can be played on the current drive: a track of the disc,
// and an audio one.
bool playableTrack(int track);

// The program-wide random generator: seeded once at start-up with the time
// in seconds since 1970; each draw gives 0..32767.
void seedPlayRandom(uint32_t seed);
int drawPlayRandom();
// The k (1..n) that a draw r picks among n candidates; the first and last
// get half the share of the others.
int randomPickOf(int r, int n);

#endif

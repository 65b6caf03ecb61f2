// discevents.h - what the drive model tells the rest of the program when
// drives and discs come and go: the title lookup, the CDDB lookup, the
// menus, the tray icon and the control panel install their handlers here at
// start-up. A handler left null is simply not called.
#ifndef PLAYER_DISCEVENTS_H
#define PLAYER_DISCEVENTS_H

struct DiscEventHooks {
    // openDrives found no usable drive: show the tray's no-disc icon.
    void (*noDrivesUsable)();
    // discInserted read a disc: look its titles up (title database, then
    // Cdplayer.ini) and set titleKnown when found.
    void (*titlesNeeded)(int drive);
    // discInserted read a disc without titles while no lookup runs: gray the
    // three CDDB commands in both menus and start the lookup thread. 1 when
    // a thread was started; discInserted then sets lookupRunning.
    int (*cddbLookupNeeded)(int drive);
    // The current drive lost its disc: refresh the tray icon and the
    // transport buttons and rebuild the track menus.
    void (*currentDiscGone)();
    // A disc came or went: rebuild the drive menus.
    void (*driveListChanged)();
    // No disc is left and the panel hides without one: hide it, clear
    // panelVisible and refresh the mode check marks.
    void (*hidePanelNoDisc)();
};

extern DiscEventHooks discEvents;

#endif

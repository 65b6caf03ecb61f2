// commands.h - the main window's WM_COMMAND handling.
#ifndef APP_COMMANDS_H
#define APP_COMMANDS_H

// Carries out a panel button or menu command; 1 when the id is one of ours.
int onCommand(int id);
// Play on from the paused place (or with a new stopping point while playing).
void resumePlay();
// After a play mode changed: tell a playing drive its new stopping point.
void rearmPlay();

#endif

// startdir.h - where Rackfile finds the title database: the player's
// installation folder, "MainDirectory" of the options key, as the player
// itself moves there; without that value the start folder stays.
#ifndef RACKFILE_STARTDIR_H
#define RACKFILE_STARTDIR_H

// Makes the installation folder the current directory; true when it did.
bool enterInstallFolder();

#endif

// launch.h - starting the sibling programs from the menus.
#ifndef APP_LAUNCH_H
#define APP_LAUNCH_H

// Starts ".\Rackfile.exe", the title database tool.
void launchRackfile();
// Starts the help viewer on "Spindle2.hlp".
void launchHelp();

#endif

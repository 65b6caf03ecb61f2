// drivefolders.h - which folder serves a drive letter as a virtual drive
// without asking the system: a folder a test names in-process, or one the
// environment names (PLATTER_DRIVE_FOLDER_D=C:\discs\d), which programs
// started by a test inherit. Letters with neither are probed at cd_open.
#ifndef LIBPLATTER_DEVICES_DRIVEFOLDERS_H
#define LIBPLATTER_DEVICES_DRIVEFOLDERS_H

#include <string>

namespace devices {

// Empty when nothing names a folder for `letter` (A-Z, any case).
std::string virtualDriveFolderFor(char letter);

// Test seam: serve `letter` from `folder` in this process (null forgets it).
void setVirtualDriveFolder(char letter, const char *folder);

} // namespace devices

#endif

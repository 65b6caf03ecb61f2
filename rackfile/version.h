/*
 * version.h - Rackfile's name and version, for its About box, its version
 * resource and the CDDB sessions of export and import. It ships with the
 * player and carries the player's version and copyright line.
 */
#ifndef RACKFILE_VERSION_H
#define RACKFILE_VERSION_H

#include "res/version.h"

#define RACKFILE_PROGRAM "Rackfile"
#define RACKFILE_NAME_VERSION "Rackfile " SPINDLE2_VERSION

#ifdef __cplusplus
const char *const kRackfileProgram = RACKFILE_PROGRAM;
const char *const kRackfileVersion = SPINDLE2_VERSION;
const char *const kRackfileCopyright = SPINDLE2_COPYRIGHT;
#endif

#endif

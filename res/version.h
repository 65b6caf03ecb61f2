/*
 * version.h - the program's name, version and copyright line: shown in the
 * About box and the version resource, and handed to the CD library when a
 * CDDB session starts (servers see them in the hello and in submissions).
 * Plain #defines, since windres reads this file too.
 */
#ifndef SPINDLE2_VERSION_H
#define SPINDLE2_VERSION_H

#define SPINDLE2_PROGRAM   "Spindle2"
#define SPINDLE2_VERSION   "v3.00"
#define SPINDLE2_NAME_VERSION "Spindle2 v3.00"   /* the two above, as one text */
#define SPINDLE2_COPYRIGHT "Copyright (C) 2026 the Spindle2 developers"

#endif

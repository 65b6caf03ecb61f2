// discevents.cpp - the handlers the drive model calls when discs come and go;
// all empty until their owners install them.
#include "player/discevents.h"

DiscEventHooks discEvents = {};

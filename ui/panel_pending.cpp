// panel_pending.cpp - the control panel's drawing until it lands: the
// program runs with a plain panel.
#include "ui/panel.h"

void loadButtonBitmaps() {}
void drawButton(const DRAWITEMSTRUCT *) {}
void drawVolumeBar(const DRAWITEMSTRUCT *) {}
void applyDisplayType() {}

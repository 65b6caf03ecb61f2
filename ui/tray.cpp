// tray.cpp - the notification-area icon: the tip text it shows.
#include "ui/tray.h"

#include <cstdio>

namespace {
char tipText[TRAY_TIP_LIMIT + 1] = "";
}

void traySetTip(const char *text)
{
    snprintf(tipText, sizeof tipText, "%s", text ? text : "");
}

const char *trayTip()
{
    return tipText;
}

// tray.h - the notification-area icon. For now only its tip text, which the
// status line sets after every change of play.
#ifndef UI_TRAY_H
#define UI_TRAY_H

// The longest tip the notification area takes, without its NUL.
#define TRAY_TIP_LIMIT 63

// Sets the icon's tip; at most TRAY_TIP_LIMIT characters are kept. Null
// gives an empty tip.
void traySetTip(const char *text);
// The tip as last set.
const char *trayTip();

#endif

// diag.h - the library's own diagnostics lines and progress texts. Both go
// through the callbacks the program hands over at start-up; until then (or
// when the program passes null) they go nowhere.
#ifndef LIBPLATTER_DIAG_H
#define LIBPLATTER_DIAG_H

// One diagnostics line, printf-style. Lines are prefixed "Platter: ".
void platterDiag(const char *fmt, ...) __attribute__((format(printf, 1, 2)));
// One progress text for the program's status window, printf-style.
void platterStatus(const char *fmt, ...) __attribute__((format(printf, 1, 2)));

#endif

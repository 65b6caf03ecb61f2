// pending.cpp - the network family until its SMTP client lands: nothing is sent.
#include "platter/platter.h"

extern "C" {
int platter_net_init(void) { return 0; }
int platter_net_cleanup(void) { return 0; }
int smtp_send(const char *, int, const char *, const char *, const char *, const char *) { return 0; }
}

// pending.cpp - the title database family until its store lands: every call fails.
#include "platter/platter.h"

extern "C" {
int db_lock(void) { return 0; }
int db_unlock(void) { return 0; }
int db_read_entry(uint32_t, TitleRecord *) { return 0; }
int db_write_entry(uint32_t, const TitleRecord *) { return 0; }
int db_delete_entry(uint32_t) { return 0; }
int db_free(TitleRecord *) { return 0; }
int db_statistics(int32_t *, int32_t *) { return 0; }
int db_compact(void) { return 0; }
}

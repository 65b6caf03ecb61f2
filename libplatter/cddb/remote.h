// remote.h - the remote operations of a CDDB handle, over the CDDB server
// protocol or over HTTP (directly or through a proxy).
#ifndef LIBPLATTER_CDDB_REMOTE_H
#define LIBPLATTER_CDDB_REMOTE_H

#include "libplatter/cddb/session.h"

namespace cddb {

// 1 exact (the entry read), 3 inexact matches, -1 none, other negatives failure.
int queryRemote(Session &session);
// Reads the entry named by the handle's id and category: 1, -1, other negatives.
int fetchRemote(Session &session);
int fetchServerList(Session &session);
int fetchCategoryList(Session &session);

} // namespace cddb

#endif

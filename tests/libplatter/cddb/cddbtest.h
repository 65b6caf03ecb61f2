// cddbtest.h - what the CDDB family's tests share: a disc set on a handle,
// files written into a test's tree, and the known discs of the tests.
#ifndef TESTS_LIBPLATTER_CDDB_CDDBTEST_H
#define TESTS_LIBPLATTER_CDDB_CDDBTEST_H

#include "platter/platter.h"

#include <string>
#include <vector>

namespace cddbtest {

// The disc of the test server's exact entry: 3 tracks at 150, 18000 and
// 36000 frames, lead-out 54000; its CDDB id is 1402ce03.
extern const std::vector<int> kExactDisc;
const uint32_t kExactId = 0x1402ce03;

// cddb_set_num_tracks and cddb_set_track_time for starts (the last the lead-out).
void setDisc(cddb_handle_t handle, const std::vector<int> &starts);
// Writes bytes to root\relative, making the folders on the way.
void writeTreeFile(const std::string &root, const std::string &relative, const std::string &bytes);
// A text the library returned, "<null>" for none.
std::string text(const char *value);

} // namespace cddbtest

#endif

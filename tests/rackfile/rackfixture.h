// rackfixture.h - Rackfile's tests: each works on a real title database in
// a scratch folder of its own, filled with entries whose disc ids are the
// discs' own (so that an import files them under the same ids again).
#ifndef TESTS_RACKFILE_RACKFIXTURE_H
#define TESTS_RACKFILE_RACKFIXTURE_H

#include "harness/harness.h"
#include "rackfile/dbtasks.h"

#include <windows.h>

#include <map>
#include <string>
#include <vector>

namespace racktest {

// A disc of 1 to 12 tracks with texts, notes and a program that vary with
// `seed`; discs of fewer than 3 tracks end on a whole second, as the xmcd
// format keeps a disc's length in seconds only.
EntryData sampleDisc(int seed);
// The disc's Windows CD Player id, as the library computes it.
uint32_t discIdOf(const EntryData &entry);
// The disc's CDDB id, which names its file in a CDDB tree.
uint32_t cddbIdOf(const EntryData &entry);
// The entry as a CDDB tree gives it back: marked as from CDDB, not
// submitted, empty texts absent, the lead-out to the second.
EntryData afterCddbTrip(const EntryData &entry);

class RackFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Moves to a new scratch folder and so to a new, empty database.
    void useNewFolder();
    // Stores `count` sample discs of distinct disc and CDDB ids; returns them by disc id.
    std::map<uint32_t, EntryData> putDiscs(int count, int firstSeed = 1);
    // Every entry of the database by disc id.
    std::map<uint32_t, EntryData> allEntries();
    // Flips a byte in the payload of the record that starts at `offset`.
    void damageRecordAt(uint32_t offset);
    int64_t dbSize() const;

    // Runs Rackfile.exe in `folder` (default: this test's) with the
    // arguments; returns its exit code (-1 when it did not end in time).
    int runRackfile(const std::string &arguments, const std::string &folder = std::string());
    // Runs the database tests' writer process in this test's folder.
    int runWriter(const std::string &steps);

    std::string folder_;

private:
    std::string oldDir_;
};

} // namespace racktest

#endif

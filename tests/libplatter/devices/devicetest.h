// devicetest.h - what the device family's tests share: files written into
// a test's own folder, the library's diagnostics lines caught, and a
// virtual drive on a scratch folder with the play clock in the test's hand.
#ifndef TESTS_LIBPLATTER_DEVICES_DEVICETEST_H
#define TESTS_LIBPLATTER_DEVICES_DEVICETEST_H

#include "harness/harness.h"
#include "platter/platter.h"

#include <cstdint>
#include <string>
#include <vector>

namespace devicetest {

void writeText(const std::string &path, const std::string &text);
// A file of `bytes` zero bytes, made by setting its end (no data written).
void makeFile(const std::string &path, uint64_t bytes);
// Moves a file's last-write time `seconds` away from what it is.
void shiftWriteTime(const std::string &path, int seconds);

// A scratch folder of this test, emptied of what an earlier run left, with
// no tray remembered for it.
std::string freshDriveFolder();
void emptyFolder(const std::string &folder);

// While alive, the library's diagnostics lines are kept here.
class DiagLines {
public:
    DiagLines();
    ~DiagLines();
    std::vector<std::string> lines() const;
    // How many lines hold `text`.
    int count(const std::string &text) const;
};

// The virtual drive V: served from a fresh folder of this test, without
// sound, on a clock that moves only when the test steps it.
class VirtualDriveTest : public ::testing::Test {
protected:
    static const char *const kDrive; // "V:"
    void SetUp() override;
    void TearDown() override;
    bool openDrive();
    std::string path(const char *name) const { return folder_ + "\\" + name; }
    void advanceClock(uint64_t ms);

    std::string folder_;
    cd_handle_t handle_ = 0;
};

// A disc of four tracks as a TOC file: 10 s, 20 s and 10 s of audio, then
// 18 s of data (starts 150, 900, 2400, 3150; lead-out 4500).
extern const char *const kFourTrackToc;

// Where the drive is: track and frames into it; false when it cannot say.
bool currentPosition(cd_handle_t handle, int *track, int *relativeFrames, int *absoluteFrames);

} // namespace devicetest

#endif

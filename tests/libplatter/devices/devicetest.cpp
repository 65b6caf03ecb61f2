// devicetest.cpp - shared helpers of the device family's tests.
#include "tests/libplatter/devices/devicetest.h"
#include "libplatter/devices/drivefolders.h"
#include "libplatter/devices/playclock.h"
#include "libplatter/devices/shareddrive.h"
#include "libplatter/devices/virtualdrive.h"

#include <fstream>
#include <mutex>

namespace devicetest {

void writeText(const std::string &path, const std::string &text)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
}

void makeFile(const std::string &path, uint64_t bytes)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE) << path;
    LARGE_INTEGER size;
    size.QuadPart = (LONGLONG)bytes;
    EXPECT_TRUE(SetFilePointerEx(file, size, nullptr, FILE_BEGIN));
    EXPECT_TRUE(SetEndOfFile(file));
    CloseHandle(file);
}

void shiftWriteTime(const std::string &path, int seconds)
{
    HANDLE file = CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES | GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE) << path;
    FILETIME written;
    GetFileTime(file, nullptr, nullptr, &written);
    ULARGE_INTEGER t;
    t.LowPart = written.dwLowDateTime;
    t.HighPart = written.dwHighDateTime;
    t.QuadPart += (ULONGLONG)((LONGLONG)seconds * 10000000LL);
    written.dwLowDateTime = t.LowPart;
    written.dwHighDateTime = t.HighPart;
    EXPECT_TRUE(SetFileTime(file, nullptr, nullptr, &written));
    CloseHandle(file);
}

namespace {
std::mutex linesLock;
std::vector<std::string> caught;

void catchLine(char *line)
{
    std::lock_guard<std::mutex> hold(linesLock);
    caught.push_back(line);
}
} // namespace

DiagLines::DiagLines()
{
    {
        std::lock_guard<std::mutex> hold(linesLock);
        caught.clear();
    }
    platter_diag_init(catchLine);
}

DiagLines::~DiagLines()
{
    platter_diag_init(nullptr);
}

std::vector<std::string> DiagLines::lines() const
{
    std::lock_guard<std::mutex> hold(linesLock);
    return caught;
}

int DiagLines::count(const std::string &text) const
{
    int n = 0;
    for (const std::string &line : lines())
        if (line.find(text) != std::string::npos)
            ++n;
    return n;
}

const char *const VirtualDriveTest::kDrive = "V:";

const char *const kFourTrackToc = "TRACK 1 AUDIO 00:02:00\n"
                                  "TRACK 2 AUDIO 00:12:00\n"
                                  "TRACK 3 AUDIO 00:32:00\n"
                                  "TRACK 4 DATA 00:42:00\n"
                                  "LEADOUT 01:00:00\n";

void emptyFolder(const std::string &folder)
{
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            DeleteFileA((folder + "\\" + found.cFileName).c_str());
    } while (FindNextFileA(search, &found));
    FindClose(search);
}

std::string freshDriveFolder()
{
    // Wine hands out the same process ids run after run, so a scratch
    // folder's name can come back with an older run's files (and tray) in it.
    std::string folder = harness::scratchFolder();
    emptyFolder(folder);
    DeleteFileA(devices::trayFileName(folder).c_str());
    return folder;
}

void VirtualDriveTest::SetUp()
{
    folder_ = freshDriveFolder();
    devices::setVirtualDriveFolder('V', folder_.c_str());
    devices::setVirtualDriveAudio(false);
    devices::playClockTakeOver(5000000);
    handle_ = cd_init();
    ASSERT_NE(handle_, 0u);
}

void VirtualDriveTest::TearDown()
{
    cd_close(handle_);
    cd_cleanup(handle_);
    devices::setVirtualDriveFolder('V', nullptr);
    devices::playClockRelease();
    devices::setVirtualDriveAudio(true);
}

bool VirtualDriveTest::openDrive()
{
    return cd_open(handle_, kDrive, 0) == PLATTER_OK;
}

void VirtualDriveTest::advanceClock(uint64_t ms)
{
    devices::playClockStep(ms);
}

bool currentPosition(cd_handle_t handle, int *track, int *relativeFrames, int *absoluteFrames)
{
    int m = -1, s = -1, f = -1, am = -1, as = -1, af = -1;
    if (cd_get_cur_time_info(handle, track, &m, &s, &f, &am, &as, &af) != PLATTER_OK)
        return false;
    *relativeFrames = (m * 60 + s) * 75 + f;
    *absoluteFrames = (am * 60 + as) * 75 + af;
    return true;
}

} // namespace devicetest

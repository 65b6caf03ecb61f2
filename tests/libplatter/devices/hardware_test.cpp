// hardware_test.cpp - the hardware backend against a drive that answers
// from a script: each exchange names the control code the backend must
// send, the bytes it must send with it, and the drive's answer (bytes, or
// an error). The tests check the codes and their order, the structures
// sent (MSF play ranges, the Q channel request), and how TOC and Q channel
// answers are read.
#include "libplatter/devices/hardwaredrive.h"
#include "tests/libplatter/devices/devicetest.h"

#include <winioctl.h>
#include <ntddcdrm.h>

#include <cstring>
#include <deque>

namespace {

using namespace devicetest;

struct Exchange {
    DWORD code;
    std::string sent;   // the input the backend must send
    std::string answer; // what the drive returns
    DWORD error;        // 0: success
};

struct ScriptedDrive {
    std::deque<Exchange> script;
    std::vector<std::string> faults;
    std::vector<std::string> roots;
    std::vector<std::string> opened;
    int closed = 0;
    UINT driveType = DRIVE_CDROM;
};

ScriptedDrive *scripted = nullptr;
HANDLE const kDevice = (HANDLE)(intptr_t)0x5150;

UINT scriptedDriveType(const char *root)
{
    scripted->roots.push_back(root);
    return scripted->driveType;
}

HANDLE scriptedOpen(const char *path)
{
    scripted->opened.push_back(path);
    return kDevice;
}

BOOL scriptedControl(HANDLE device, DWORD code, void *in, DWORD inSize, void *out, DWORD outSize, DWORD *returned)
{
    char what[96];
    if (device != kDevice)
        scripted->faults.push_back("a call on a handle the drive never gave");
    if (scripted->script.empty()) {
        snprintf(what, sizeof what, "unexpected code %#lx after the script ended", (unsigned long)code);
        scripted->faults.push_back(what);
        SetLastError(ERROR_NOT_READY);
        return FALSE;
    }
    Exchange next = scripted->script.front();
    scripted->script.pop_front();
    if (code != next.code) {
        snprintf(what, sizeof what, "code %#lx sent where %#lx was due", (unsigned long)code, (unsigned long)next.code);
        scripted->faults.push_back(what);
    }
    if (std::string((const char *)in, in ? inSize : 0) != next.sent) {
        snprintf(what, sizeof what, "code %#lx sent other input bytes", (unsigned long)code);
        scripted->faults.push_back(what);
    }
    if (next.error) {
        SetLastError(next.error);
        return FALSE;
    }
    DWORD n = (DWORD)next.answer.size() < outSize ? (DWORD)next.answer.size() : outSize;
    if (n)
        memcpy(out, next.answer.data(), n);
    *returned = n;
    return TRUE;
}

void scriptedClose(HANDLE)
{
    scripted->closed++;
}

const devices::DeviceIo kScriptedIo = {scriptedDriveType, scriptedOpen, scriptedControl, scriptedClose};

template <typename T> std::string bytesOf(const T &value)
{
    return std::string((const char *)&value, sizeof value);
}

struct TocEntry {
    int number;
    bool data;
    int frames;
};

// A READ_TOC answer: first and last track numbers and the entries, the
// lead-out (0xAA) last; `cut` drops that many bytes from the end.
std::string tocAnswer(int first, int last, const std::vector<TocEntry> &entries, size_t cut = 0)
{
    CDROM_TOC toc;
    ZeroMemory(&toc, sizeof toc);
    int length = 2 + 8 * (int)entries.size();
    toc.Length[0] = (UCHAR)(length >> 8);
    toc.Length[1] = (UCHAR)length;
    toc.FirstTrack = (UCHAR)first;
    toc.LastTrack = (UCHAR)last;
    for (size_t i = 0; i < entries.size(); ++i) {
        TRACK_DATA &t = toc.TrackData[i];
        t.Control = entries[i].data ? 4 : 0;
        t.Adr = 1;
        t.TrackNumber = (UCHAR)entries[i].number;
        devices::Msf msf = devices::framesToMsf(entries[i].frames);
        t.Address[1] = (UCHAR)msf.minutes;
        t.Address[2] = (UCHAR)msf.seconds;
        t.Address[3] = (UCHAR)msf.frames;
    }
    return std::string((const char *)&toc, 4 + 8 * entries.size() - cut);
}

// The disc most tests use: tracks 1-3 audio, 4 data.
const std::vector<TocEntry> kDisc = {{1, false, 150}, {2, false, 18783}, {3, false, 40000}, {4, true, 60000},
                                     {0xAA, false, 90000}};

std::string qRequest()
{
    CDROM_SUB_Q_DATA_FORMAT format;
    ZeroMemory(&format, sizeof format);
    format.Format = IOCTL_CDROM_CURRENT_POSITION;
    return bytesOf(format);
}

std::string qAnswer(int audioStatus, int track, int relative, int absolute)
{
    SUB_Q_CHANNEL_DATA data;
    ZeroMemory(&data, sizeof data);
    SUB_Q_CURRENT_POSITION &now = data.CurrentPosition;
    now.Header.AudioStatus = (UCHAR)audioStatus;
    now.FormatCode = IOCTL_CDROM_CURRENT_POSITION;
    now.TrackNumber = (UCHAR)track;
    now.IndexNumber = 1;
    devices::Msf r = devices::framesToMsf(relative), a = devices::framesToMsf(absolute);
    now.TrackRelativeAddress[1] = (UCHAR)r.minutes;
    now.TrackRelativeAddress[2] = (UCHAR)r.seconds;
    now.TrackRelativeAddress[3] = (UCHAR)r.frames;
    now.AbsoluteAddress[1] = (UCHAR)a.minutes;
    now.AbsoluteAddress[2] = (UCHAR)a.seconds;
    now.AbsoluteAddress[3] = (UCHAR)a.frames;
    return bytesOf(data);
}

std::string playRange(int from, int end)
{
    devices::Msf a = devices::framesToMsf(from), b = devices::framesToMsf(end);
    CDROM_PLAY_AUDIO_MSF range;
    range.StartingM = (UCHAR)a.minutes;
    range.StartingS = (UCHAR)a.seconds;
    range.StartingF = (UCHAR)a.frames;
    range.EndingM = (UCHAR)b.minutes;
    range.EndingS = (UCHAR)b.seconds;
    range.EndingF = (UCHAR)b.frames;
    return bytesOf(range);
}

Exchange readToc(const std::string &answer) { return {IOCTL_CDROM_READ_TOC, "", answer, 0}; }
Exchange readQ(int status, int track, int relative, int absolute)
{
    return {IOCTL_CDROM_READ_Q_CHANNEL, qRequest(), qAnswer(status, track, relative, absolute), 0};
}
Exchange failing(DWORD code, DWORD error, const std::string &sent = "") { return {code, sent, "", error}; }
Exchange plain(DWORD code) { return {code, "", "", 0}; }
Exchange play(int from, int end) { return {IOCTL_CDROM_PLAY_AUDIO_MSF, playRange(from, end), "", 0}; }

class HardwareTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        scripted = &drive_;
        devices::setDeviceIo(&kScriptedIo);
        handle_ = cd_init();
    }
    void TearDown() override
    {
        cd_close(handle_);
        cd_cleanup(handle_);
        devices::setDeviceIo(nullptr);
        scripted = nullptr;
    }
    void script(std::initializer_list<Exchange> exchanges)
    {
        for (const Exchange &e : exchanges)
            drive_.script.push_back(e);
    }
    // Opens H: (a drive answering its table of contents) and reads the disc.
    void openWithDisc()
    {
        script({readToc(tocAnswer(1, 4, kDisc)), readToc(tocAnswer(1, 4, kDisc))});
        ASSERT_EQ(cd_open(handle_, "H:", 0), PLATTER_OK);
        ASSERT_EQ(cd_read_data(handle_), PLATTER_OK);
    }
    void expectScriptDone()
    {
        EXPECT_TRUE(drive_.script.empty()) << drive_.script.size() << " exchanges never happened";
        for (const std::string &fault : drive_.faults)
            ADD_FAILURE() << fault;
    }

    ScriptedDrive drive_;
    cd_handle_t handle_ = 0;
};

TEST_F(HardwareTest, OpenAsksTheDeviceOfTheLetterForItsTableOfContents)
{
    script({readToc(tocAnswer(1, 4, kDisc)), plain(IOCTL_STORAGE_CHECK_VERIFY)});
    ASSERT_EQ(cd_open(handle_, "h:", 0), PLATTER_OK);
    ASSERT_EQ(drive_.roots.size(), 1u);
    EXPECT_EQ(drive_.roots[0], "H:\\");
    ASSERT_EQ(drive_.opened.size(), 1u);
    EXPECT_EQ(drive_.opened[0], "\\\\.\\H:");
    EXPECT_EQ(cd_check_if_media(handle_), PLATTER_OK);
    expectScriptDone();
    cd_close(handle_);
    EXPECT_EQ(drive_.closed, 1);
}

struct ProbeCase {
    const char *name;
    DWORD error;
    bool hardware; // else: served as a virtual drive from the letter's root
};

// Printed as its name, in test lists and in CTest's test names.
void PrintTo(const ProbeCase &c, std::ostream *os)
{
    *os << c.name;
}

class ProbeTest : public HardwareTest, public ::testing::WithParamInterface<ProbeCase> {};

TEST_P(ProbeTest, TheFirstAnswerPicksTheBackend)
{
    DiagLines diag;
    script({failing(IOCTL_CDROM_READ_TOC, GetParam().error)});
    if (GetParam().hardware)
        script({failing(IOCTL_STORAGE_CHECK_VERIFY, ERROR_NOT_READY)});
    ASSERT_EQ(cd_open(handle_, "H:", 0), PLATTER_OK);
    // An empty drive either way; the virtual one asks the device nothing more.
    EXPECT_EQ(cd_check_if_media(handle_), PLATTER_FAIL);
    EXPECT_EQ(drive_.closed, GetParam().hardware ? 0 : 1);
    EXPECT_EQ(diag.count("Drive H: takes no CD-ROM commands"), GetParam().hardware ? 0 : 1);
    EXPECT_EQ(diag.count("Drive H: a CD-ROM drive."), GetParam().hardware ? 1 : 0);
    expectScriptDone();
}

const ProbeCase kProbeCases[] = {
    {"InvalidFunctionIsNoDrive", ERROR_INVALID_FUNCTION, false},
    {"NotSupportedIsNoDrive", ERROR_NOT_SUPPORTED, false},
    {"NotReadyIsAnEmptyDrive", ERROR_NOT_READY, true},
    {"MediaChangedIsADrive", ERROR_MEDIA_CHANGED, true},
};

INSTANTIATE_TEST_SUITE_P(Answers, ProbeTest, ::testing::ValuesIn(kProbeCases),
                         [](const ::testing::TestParamInfo<ProbeCase> &info) { return std::string(info.param.name); });

TEST_F(HardwareTest, ALetterWithoutADeviceDoesNotOpen)
{
    static const devices::DeviceIo noDevice = {scriptedDriveType,
                                               [](const char *) {
                                                   SetLastError(ERROR_FILE_NOT_FOUND);
                                                   return INVALID_HANDLE_VALUE;
                                               },
                                               scriptedControl, scriptedClose};
    devices::setDeviceIo(&noDevice);
    EXPECT_EQ(cd_open(handle_, "H:", 0), PLATTER_FAIL);
    EXPECT_EQ(cd_check_status(handle_), 0);
}

TEST_F(HardwareTest, LettersOfOtherKindsAreNoCdDrives)
{
    const UINT kinds[] = {DRIVE_FIXED, DRIVE_REMOTE, DRIVE_REMOVABLE, DRIVE_RAMDISK, DRIVE_NO_ROOT_DIR, DRIVE_UNKNOWN};
    for (UINT kind : kinds) {
        drive_.driveType = kind;
        EXPECT_EQ(cd_open(handle_, "H:", 0), PLATTER_FAIL) << kind;
        EXPECT_EQ(cd_check_if_media(handle_), PLATTER_FAIL) << kind;
    }
    EXPECT_TRUE(drive_.opened.empty()) << "a device that is no CD-ROM drive was opened";
    expectScriptDone();
}

TEST_F(HardwareTest, TableOfContentsIsReadIntoTracksTypesAndTimes)
{
    openWithDisc();
    int count = 0, type = 0;
    ASSERT_EQ(cd_get_num_tracks(handle_, &count), PLATTER_OK);
    EXPECT_EQ(count, 4);
    const int starts[] = {150, 18783, 40000, 60000, 90000};
    for (int t = 1; t <= 5; ++t) {
        int m = -1, s = -1, f = -1, lm = -1, ls = -1, lf = -1;
        ASSERT_EQ(cd_get_track_time(handle_, t, &m, &s, &f, &lm, &ls, &lf), PLATTER_OK);
        EXPECT_EQ((m * 60 + s) * 75 + f, starts[t - 1]) << t;
        EXPECT_EQ((lm * 60 + ls) * 75 + lf, t <= 4 ? starts[t] - starts[t - 1] : 0) << t;
        if (t <= 4) {
            ASSERT_EQ(cd_get_track_type(handle_, t, &type), PLATTER_OK);
            EXPECT_EQ(type, t == 4 ? PLATTER_TRACK_DATA : PLATTER_TRACK_AUDIO) << t;
        }
    }
    uint32_t id = 0;
    ASSERT_EQ(cd_get_win_id(handle_, &id), PLATTER_OK);
    // 00:02:00 + 04:10:33 + 08:53:25 + 13:20:00 = 0x200 + 0x40A21 + 0x83519 + 0xD1400
    EXPECT_EQ(id, 0x19553Au);
    expectScriptDone();
}

struct TocCase {
    const char *name;
    std::string answer;
    bool readable;
    int tracks;
};

// Printed as its name, in test lists and in CTest's test names.
void PrintTo(const TocCase &c, std::ostream *os)
{
    *os << c.name;
}

const TocCase kTocCases[] = {
    {"DiscStartingAtTrackThree", tocAnswer(3, 4, {{3, false, 150}, {4, false, 9000}, {0xAA, false, 20000}}), true, 2},
    {"CutShort", tocAnswer(1, 4, kDisc, 8), false, 0},
    {"NoLeadOut", tocAnswer(1, 4, {{1, false, 150}, {2, false, 18783}, {3, false, 40000}, {4, true, 60000}, {5, false, 90000}}),
     false, 0},
    {"TracksOutOfOrder", tocAnswer(1, 2, {{2, false, 150}, {1, false, 900}, {0xAA, false, 2000}}), false, 0},
    {"StartsDoNotRise", tocAnswer(1, 2, {{1, false, 900}, {2, false, 150}, {0xAA, false, 2000}}), false, 0},
    {"NoTracks", tocAnswer(2, 1, {{0xAA, false, 2000}}), false, 0},
};

class TocAnswerTest : public HardwareTest, public ::testing::WithParamInterface<TocCase> {};

TEST_P(TocAnswerTest, IsReadOrRefused)
{
    script({readToc(tocAnswer(1, 4, kDisc)), readToc(GetParam().answer)});
    ASSERT_EQ(cd_open(handle_, "H:", 0), PLATTER_OK);
    EXPECT_EQ(cd_read_data(handle_), GetParam().readable ? PLATTER_OK : PLATTER_FAIL);
    if (GetParam().readable) {
        int count = 0;
        ASSERT_EQ(cd_get_num_tracks(handle_, &count), PLATTER_OK);
        EXPECT_EQ(count, GetParam().tracks);
    }
    expectScriptDone();
}

INSTANTIATE_TEST_SUITE_P(Answers, TocAnswerTest, ::testing::ValuesIn(kTocCases),
                         [](const ::testing::TestParamInfo<TocCase> &info) { return std::string(info.param.name); });

struct StatusCase {
    const char *name;
    int audioStatus;
    int state;
};

// Printed as its name, in test lists and in CTest's test names.
void PrintTo(const StatusCase &c, std::ostream *os)
{
    *os << c.name;
}

const StatusCase kStatusCases[] = {
    {"InProgressIsPlaying", AUDIO_STATUS_IN_PROGRESS, PlayStatePlaying},
    {"PausedIsPaused", AUDIO_STATUS_PAUSED, PlayStatePaused},
    {"CompletedIsStopped", AUDIO_STATUS_PLAY_COMPLETE, PlayStateStopped},
    {"ErrorIsStopped", AUDIO_STATUS_PLAY_ERROR, PlayStateStopped},
    {"NoStatusIsStopped", AUDIO_STATUS_NO_STATUS, PlayStateStopped},
    {"NotSupportedIsStopped", AUDIO_STATUS_NOT_SUPPORTED, PlayStateStopped},
};

class StatusTest : public HardwareTest, public ::testing::WithParamInterface<StatusCase> {};

TEST_P(StatusTest, QChannelAudioStatusGivesThePlayState)
{
    openWithDisc();
    script({readQ(GetParam().audioStatus, 2, 385, 19168)});
    EXPECT_EQ(cd_check_status(handle_), GetParam().state);
    expectScriptDone();
}

INSTANTIATE_TEST_SUITE_P(Answers, StatusTest, ::testing::ValuesIn(kStatusCases),
                         [](const ::testing::TestParamInfo<StatusCase> &info) { return std::string(info.param.name); });

TEST_F(HardwareTest, AFailingQChannelIsAnUnknownState)
{
    openWithDisc();
    script({failing(IOCTL_CDROM_READ_Q_CHANNEL, ERROR_NOT_READY, qRequest())});
    EXPECT_EQ(cd_check_status(handle_), 0);
    expectScriptDone();
}

TEST_F(HardwareTest, PositionComesFromTheQChannel)
{
    openWithDisc();
    script({readQ(AUDIO_STATUS_IN_PROGRESS, 2, 385, 19168)});
    int track = 0, m = -1, s = -1, f = -1, am = -1, as = -1, af = -1;
    ASSERT_EQ(cd_get_cur_time_info(handle_, &track, &m, &s, &f, &am, &as, &af), PLATTER_OK);
    EXPECT_EQ(track, 2);
    EXPECT_EQ(m, 0);
    EXPECT_EQ(s, 5);
    EXPECT_EQ(f, 10);
    EXPECT_EQ(am, 4);
    EXPECT_EQ(as, 15);
    EXPECT_EQ(af, 43);
    expectScriptDone();
}

struct PlayCase {
    const char *name;
    int track, m, s, f, single;
    int from, end;
};

// Printed as its name, in test lists and in CTest's test names.
void PrintTo(const PlayCase &c, std::ostream *os)
{
    *os << c.name;
}

const PlayCase kPlayCases[] = {
    {"SingleTrackFromItsStart", 2, 0, 0, 0, 1, 18783, 40000},
    {"SingleTrackFromAPosition", 2, 0, 5, 10, 1, 19168, 40000},
    {"OnToTheDataTrack", 1, 0, 0, 0, 0, 150, 60000},
    {"LastAudioTrackOn", 3, 1, 0, 0, 0, 44500, 60000},
};

class PlayTest : public HardwareTest, public ::testing::WithParamInterface<PlayCase> {};

TEST_P(PlayTest, SendsTheMsfRange)
{
    openWithDisc();
    const PlayCase &c = GetParam();
    script({play(c.from, c.end)});
    EXPECT_EQ(cd_play(handle_, c.track, c.m, c.s, c.f, c.single), PlayStatePlaying);
    expectScriptDone();
}

INSTANTIATE_TEST_SUITE_P(Ranges, PlayTest, ::testing::ValuesIn(kPlayCases),
                         [](const ::testing::TestParamInfo<PlayCase> &info) { return std::string(info.param.name); });

TEST_F(HardwareTest, DataTrackIsNotSentToTheDrive)
{
    openWithDisc();
    script({readQ(AUDIO_STATUS_NO_STATUS, 1, 0, 150)});
    EXPECT_EQ(cd_play(handle_, 4, 0, 0, 0, 1), PlayStateStopped);
    expectScriptDone();
}

TEST_F(HardwareTest, RefusedPlayReportsWhatTheDriveDoes)
{
    openWithDisc();
    script({failing(IOCTL_CDROM_PLAY_AUDIO_MSF, ERROR_NOT_READY, playRange(150, 18783)),
            readQ(AUDIO_STATUS_PAUSED, 3, 10, 40010)});
    EXPECT_EQ(cd_play(handle_, 1, 0, 0, 0, 1), PlayStatePaused);
    expectScriptDone();
}

TEST_F(HardwareTest, PauseStopAndEjectSendTheirCodes)
{
    openWithDisc();
    script({plain(IOCTL_CDROM_PAUSE_AUDIO), plain(IOCTL_CDROM_STOP_AUDIO), plain(IOCTL_STORAGE_EJECT_MEDIA)});
    EXPECT_EQ(cd_pause(handle_), PlayStatePaused);
    EXPECT_EQ(cd_stop(handle_), PlayStateStopped);
    EXPECT_EQ(cd_eject(handle_), PLATTER_OK);
    expectScriptDone();
}

TEST_F(HardwareTest, StoppedDriveThatStillSaysPausedIsStopped)
{
    openWithDisc();
    script({plain(IOCTL_CDROM_STOP_AUDIO), readQ(AUDIO_STATUS_PAUSED, 2, 100, 18883),
            readQ(AUDIO_STATUS_IN_PROGRESS, 2, 100, 18883), readQ(AUDIO_STATUS_PAUSED, 2, 200, 18983)});
    EXPECT_EQ(cd_stop(handle_), PlayStateStopped);
    EXPECT_EQ(cd_check_status(handle_), PlayStateStopped);
    // Once another program plays the disc, "paused" means paused again.
    EXPECT_EQ(cd_check_status(handle_), PlayStatePlaying);
    EXPECT_EQ(cd_check_status(handle_), PlayStatePaused);
    expectScriptDone();
}

TEST_F(HardwareTest, ResumeWithTheSameStoppingPointResumes)
{
    openWithDisc();
    script({play(18783, 40000), plain(IOCTL_CDROM_PAUSE_AUDIO), readQ(AUDIO_STATUS_PAUSED, 2, 300, 19083),
            plain(IOCTL_CDROM_RESUME_AUDIO)});
    EXPECT_EQ(cd_play(handle_, 2, 0, 0, 0, 1), PlayStatePlaying);
    EXPECT_EQ(cd_pause(handle_), PlayStatePaused);
    EXPECT_EQ(cd_resume(handle_, 2, 1), PlayStatePlaying);
    expectScriptDone();
}

TEST_F(HardwareTest, ResumeWithANewStoppingPointPlaysFromThePosition)
{
    openWithDisc();
    script({play(18783, 40000), readQ(AUDIO_STATUS_IN_PROGRESS, 2, 300, 19083), play(19083, 60000)});
    EXPECT_EQ(cd_play(handle_, 2, 0, 0, 0, 1), PlayStatePlaying);
    EXPECT_EQ(cd_resume(handle_, 2, 0), PlayStatePlaying);
    expectScriptDone();
}

TEST_F(HardwareTest, ResumeOfAStoppedDriveSendsNothing)
{
    openWithDisc();
    script({readQ(AUDIO_STATUS_NO_STATUS, 1, 0, 150)});
    EXPECT_EQ(cd_resume(handle_, 1, 0), PlayStateStopped);
    expectScriptDone();
}

TEST_F(HardwareTest, MediaChangedMeansADiscIsIn)
{
    openWithDisc();
    script({failing(IOCTL_STORAGE_CHECK_VERIFY, ERROR_MEDIA_CHANGED), failing(IOCTL_STORAGE_CHECK_VERIFY, ERROR_NOT_READY)});
    EXPECT_EQ(cd_check_if_media(handle_), PLATTER_OK);
    EXPECT_EQ(cd_check_if_media(handle_), PLATTER_FAIL);
    expectScriptDone();
}

} // namespace

namespace {

// A disc swapped between two looks: the drive's verify says "media
// changed", or its media change count moves on.
struct SwapCase {
    const char *name;
    std::vector<Exchange> verifies;   // what the drive answers to each cd_disc_changed
    std::vector<int> changed;         // what cd_disc_changed says to each
};

void PrintTo(const SwapCase &c, std::ostream *os)
{
    *os << c.name;
}

Exchange verifyCount(ULONG count)
{
    return {IOCTL_STORAGE_CHECK_VERIFY, "", bytesOf(count), 0};
}

class HardwareSwap : public HardwareTest, public ::testing::WithParamInterface<SwapCase> {};

TEST_P(HardwareSwap, MediaChangeIsAnotherDiscUntilRead)
{
    openWithDisc();
    for (const Exchange &e : GetParam().verifies)
        drive_.script.push_back(e);
    std::vector<int> changed;
    for (size_t i = 0; i < GetParam().verifies.size(); ++i)
        changed.push_back(cd_disc_changed(handle_));
    EXPECT_EQ(changed, GetParam().changed);
    expectScriptDone();
    // Read again, the new disc is the one the handle knows.
    script({readToc(tocAnswer(1, 4, kDisc)), plain(IOCTL_STORAGE_CHECK_VERIFY)});
    ASSERT_EQ(cd_read_data(handle_), PLATTER_OK);
    EXPECT_EQ(cd_disc_changed(handle_), PLATTER_FAIL);
    expectScriptDone();
}

INSTANTIATE_TEST_SUITE_P(
    Answers, HardwareSwap,
    ::testing::Values(SwapCase{"SameDisc", {plain(IOCTL_STORAGE_CHECK_VERIFY), plain(IOCTL_STORAGE_CHECK_VERIFY)}, {0, 0}},
                      SwapCase{"MediaChanged",
                               {plain(IOCTL_STORAGE_CHECK_VERIFY), failing(IOCTL_STORAGE_CHECK_VERIFY, ERROR_MEDIA_CHANGED),
                                plain(IOCTL_STORAGE_CHECK_VERIFY)},
                               {0, 1, 1}},
                      SwapCase{"ChangeCountMovesOn", {verifyCount(7), verifyCount(7), verifyCount(8)}, {0, 0, 1}},
                      SwapCase{"EmptyDriveIsNoSwap", {failing(IOCTL_STORAGE_CHECK_VERIFY, ERROR_NOT_READY)}, {0}}),
    [](const ::testing::TestParamInfo<SwapCase> &info) { return std::string(info.param.name); });

} // namespace

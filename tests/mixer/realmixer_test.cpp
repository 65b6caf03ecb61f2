// The volume mixer against the system's real mixer (under Wine: the mixers
// Wine offers over PulseAudio). A second handle of our own reads back what
// the program's commands did. The RealMixerSound cases also play a tone so
// that real_mixer_test.sh can hear the effect on the sound server; they run
// only when it asks for them (SPINDLE2_MIXER_SOUND=1).
#include "mixer/mixer.h"
#include "harness/harness.h"
#include "tests/mixer/mixerfixture.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

class RealMixer : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (mixerGetNumDevs() == 0)
            SKIP_OR_FAIL_WITHOUT("this system offers no mixer (is the sound server running?)");
        ASSERT_GT(openMixers(nullptr), 0) << "mixers exist, but none has a usable speaker line";
        entry_ = entryOfFirstWaveOut();
        ASSERT_GT(entry_, 0) << "no entry belongs to the first wave output";
        const MixerEntry &e = mixerList[entry_ - 1];
        ASSERT_TRUE(e.hasVolume && e.hasMute) << "the speaker line lacks a fader or a switch";
        UINT id = 0;
        ASSERT_EQ(mixerGetID((HMIXEROBJ)e.mixer, &id, MIXER_OBJECTF_HMIXER), (MMRESULT)MMSYSERR_NOERROR);
        ASSERT_EQ(mixerOpen(&observer_, id, 0, 0, CALLBACK_NULL), (MMRESULT)MMSYSERR_NOERROR);
    }
    void TearDown() override
    {
        if (observer_)
            mixerClose(observer_);
        closeMixers();
    }

    // The first entry on the mixer that belongs to wave output 0, where the
    // tone is played: its speaker line.
    static int entryOfFirstWaveOut()
    {
        UINT wanted = 0;
        if (mixerGetID((HMIXEROBJ)(UINT_PTR)0, &wanted, MIXER_OBJECTF_WAVEOUT) != MMSYSERR_NOERROR)
            return 0;
        for (int index = 1; index <= mixerCount; ++index) {
            UINT id = 0;
            if (mixerGetID((HMIXEROBJ)mixerList[index - 1].mixer, &id, MIXER_OBJECTF_HMIXER) == MMSYSERR_NOERROR &&
                id == wanted)
                return index;
        }
        return 0;
    }

    DWORD observe(DWORD control)
    {
        DWORD value = 0xDEADBEEF;
        MIXERCONTROLDETAILS details = {sizeof details, control, 1, {0}, sizeof value, &value};
        EXPECT_EQ(mixerGetControlDetailsA((HMIXEROBJ)observer_, &details,
                                          MIXER_GETCONTROLDETAILSF_VALUE | MIXER_OBJECTF_HMIXER),
                  (MMRESULT)MMSYSERR_NOERROR);
        return value;
    }
    void place(DWORD control, DWORD value)
    {
        MIXERCONTROLDETAILS details = {sizeof details, control, 1, {0}, sizeof value, &value};
        ASSERT_EQ(mixerSetControlDetails((HMIXEROBJ)observer_, &details,
                                         MIXER_SETCONTROLDETAILSF_VALUE | MIXER_OBJECTF_HMIXER),
                  (MMRESULT)MMSYSERR_NOERROR);
    }
    const MixerEntry &entry() const { return mixerList[entry_ - 1]; }

    int entry_ = 0;
    HMIXER observer_ = nullptr;
};

TEST_F(RealMixer, ScanLogsEveryDeviceAndSpeakerLine)
{
    closeMixers();
    std::vector<std::string> lines = logLinesOf([] { openMixers(nullptr); });
    UINT devices = mixerGetNumDevs();
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines[0], "Number of mixer devices = " + std::to_string(devices));
    // Every device that answers is named, and every one with a speaker
    // output has its main line logged.
    size_t speakerOutputs = 0, mainLines = 0, named = 0;
    for (UINT id = 0; id < devices; ++id) {
        MIXERCAPSA caps = {};
        if (mixerGetDevCapsA(id, &caps, sizeof caps) != MMSYSERR_NOERROR)
            continue;
        bool found = false;
        for (const std::string &line : lines)
            found = found || line == std::string("Found mixer: ") + caps.szPname;
        EXPECT_TRUE(found) << "device " << id << " \"" << caps.szPname << "\" is not in the log";
        ++named;
        MIXERLINEA output = {};
        output.cbStruct = sizeof output;
        output.dwComponentType = MIXERLINE_COMPONENTTYPE_DST_SPEAKERS;
        if (mixerGetLineInfoA((HMIXEROBJ)(UINT_PTR)id, &output, MIXER_GETLINEINFOF_COMPONENTTYPE | MIXER_OBJECTF_MIXER) ==
            MMSYSERR_NOERROR)
            ++speakerOutputs;
    }
    for (const std::string &line : lines)
        if (line.rfind("Found main volume mixer line: ", 0) == 0)
            ++mainLines;
    EXPECT_GT(named, 0u);
    EXPECT_EQ(mainLines, speakerOutputs);
    for (const MixerEntry &e : mixerList) {
        EXPECT_TRUE(e.mixer);
        EXPECT_FALSE(e.lineName.empty());
        EXPECT_TRUE(e.hasVolume || e.hasMute);
    }
}

TEST_F(RealMixer, VolumeStepsMoveTheFaderByOneStep)
{
    const MixerEntry &e = entry();
    ASSERT_GT(e.volumeMax - e.volumeMin, 4 * e.volumeStep) << "the fader is too short to test";
    DWORD middle = e.volumeMin + (e.volumeMax - e.volumeMin) / 2;
    place(e.volumeControlId, middle);
    volumeUp(entry_);
    EXPECT_EQ(observe(e.volumeControlId), middle + e.volumeStep);
    volumeDown(entry_);
    volumeDown(entry_);
    EXPECT_EQ(observe(e.volumeControlId), middle - e.volumeStep);
}

TEST_F(RealMixer, VolumeStepsStopAtTheFadersBounds)
{
    const MixerEntry &e = entry();
    place(e.volumeControlId, e.volumeMax - e.volumeStep / 2);
    volumeUp(entry_);
    EXPECT_EQ(observe(e.volumeControlId), e.volumeMax);
    volumeUp(entry_);
    EXPECT_EQ(observe(e.volumeControlId), e.volumeMax);
    place(e.volumeControlId, e.volumeMin + e.volumeStep / 2);
    volumeDown(entry_);
    EXPECT_EQ(observe(e.volumeControlId), e.volumeMin);
    volumeDown(entry_);
    EXPECT_EQ(observe(e.volumeControlId), e.volumeMin);
}

TEST_F(RealMixer, ToggleMuteFlipsTheSwitch)
{
    const MixerEntry &e = entry();
    place(e.muteControlId, 0);
    toggleMute(entry_);
    EXPECT_EQ(observe(e.muteControlId), 1u);
    toggleMute(entry_);
    EXPECT_EQ(observe(e.muteControlId), 0u);
}

TEST_F(RealMixer, LevelReportsTheFaderAndSwitch)
{
    const MixerEntry &e = entry();
    place(e.volumeControlId, e.volumeMin + 3 * e.volumeStep);
    place(e.muteControlId, 1);
    DWORD minimum = 1, maximum = 2, value = 3;
    int muted = 0;
    EXPECT_EQ(readMixerLevel(entry_, &minimum, &maximum, &value, &muted), MIXER_LEVEL_VOLUME | MIXER_LEVEL_MUTE);
    EXPECT_EQ(minimum, e.volumeMin);
    EXPECT_EQ(maximum, e.volumeMax);
    EXPECT_EQ(value, e.volumeMin + 3 * e.volumeStep);
    EXPECT_EQ(muted, 1);
    place(e.muteControlId, 0);
}

// --- Heard on the sound server ------------------------------------------

// The tone real_mixer_test.sh listens for: 1234 Hz at a known amplitude,
// followed by silence so that all of it has played before the device closes.
const int toneRate = 44100;
const double toneHz = 1234.0;
const double toneAmplitude = 16000.0;
const double pi = 3.14159265358979323846;

void playTone()
{
    WAVEFORMATEX format = {WAVE_FORMAT_PCM, 1, toneRate, toneRate * 2, 2, 16, 0};
    HANDLE done = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    ASSERT_TRUE(done);
    HWAVEOUT wave = nullptr;
    ASSERT_EQ(waveOutOpen(&wave, 0, &format, (DWORD_PTR)done, 0, CALLBACK_EVENT), (MMRESULT)MMSYSERR_NOERROR);
    std::vector<short> samples(toneRate * 3 / 2, 0);
    for (int i = 0; i < toneRate; ++i)
        samples[i] = (short)std::lround(toneAmplitude * std::sin(2.0 * pi * toneHz * i / toneRate));
    WAVEHDR header = {};
    header.lpData = (LPSTR)samples.data();
    header.dwBufferLength = (DWORD)(samples.size() * sizeof(short));
    ASSERT_EQ(waveOutPrepareHeader(wave, &header, sizeof header), (MMRESULT)MMSYSERR_NOERROR);
    ASSERT_EQ(waveOutWrite(wave, &header, sizeof header), (MMRESULT)MMSYSERR_NOERROR);
    // A bounded wait: the watchdog would end a stuck test anyway.
    for (int waited = 0; waited < 100 && !(header.dwFlags & WHDR_DONE); ++waited)
        WaitForSingleObject(done, 100);
    EXPECT_TRUE(header.dwFlags & WHDR_DONE) << "the tone did not finish playing";
    waveOutReset(wave);
    waveOutUnprepareHeader(wave, &header, sizeof header);
    waveOutClose(wave);
    CloseHandle(done);
}

class RealMixerSound : public RealMixer {
protected:
    void SetUp() override
    {
        const char *wanted = getenv("SPINDLE2_MIXER_SOUND");
        if (!wanted || strcmp(wanted, "1") != 0)
            GTEST_SKIP() << "plays a tone for real_mixer_test.sh; run by that script";
        RealMixer::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        // Start loud and unmuted, through the program's own commands.
        const MixerEntry &e = entry();
        for (DWORD presses = 0; presses <= (e.volumeMax - e.volumeMin) / e.volumeStep + 1; ++presses)
            volumeUp(entry_);
        ASSERT_EQ(observe(e.volumeControlId), e.volumeMax);
        if (observe(e.muteControlId))
            toggleMute(entry_);
        ASSERT_EQ(observe(e.muteControlId), 0u);
    }
    // The share of the full amplitude the script should hear.
    void announceLevel(double share)
    {
        printf("expected-tone-share %.4f\n", share);
        fflush(stdout);
    }
};

TEST_F(RealMixerSound, ToneAtFullVolume)
{
    announceLevel(1.0);
    playTone();
}

TEST_F(RealMixerSound, ToneFortyStepsDown)
{
    const MixerEntry &e = entry();
    for (int press = 0; press < 40; ++press)
        volumeDown(entry_);
    DWORD expected = e.volumeMax - 40 * e.volumeStep;
    ASSERT_EQ(observe(e.volumeControlId), expected);
    announceLevel((double)(expected - e.volumeMin) / (e.volumeMax - e.volumeMin));
    playTone();
}

TEST_F(RealMixerSound, ToneWhileMuted)
{
    toggleMute(entry_);
    ASSERT_EQ(observe(entry().muteControlId), 1u);
    announceLevel(0.0);
    playTone();
}

} // namespace

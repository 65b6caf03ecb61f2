// audiofeed.cpp - feeding a virtual drive's sound to the wave device. The
// thread sleeps on one event, set when the device returns a buffer and when
// any process changes the drive's shared play state; it then reads that
// state, and keeps about half a second of sound queued from
// the drive's position; a seek, a pause or another process's command
// shows up as a new state and the queue starts over from there.
#include "libplatter/devices/audiofeed.h"
#include "libplatter/devices/discreader.h"
#include "libplatter/devices/playclock.h"
#include "libplatter/diag.h"

#include <mmsystem.h>

#include <cstdlib>
#include <cstring>
#include <system_error>
#include <vector>

namespace devices {

namespace {

const int kBufferCount = 4;
const int kFramesPerBuffer = 10;          // 133 ms of sound each
const int kDriftFrames = kFramesPerSecond / 2; // more than this off the clock: start over
const DWORD kWakeMs = 50; // only when all listener places of the drive are taken

// One open wave device with its buffers.
class WaveStream {
public:
    ~WaveStream() { close(); }
    bool isOpen() const { return device_ != nullptr; }
    bool open(HANDLE wake)
    {
        WAVEFORMATEX format;
        ZeroMemory(&format, sizeof format);
        format.wFormatTag = WAVE_FORMAT_PCM;
        format.nChannels = 2;
        format.nSamplesPerSec = 44100;
        format.wBitsPerSample = 16;
        format.nBlockAlign = 4;
        format.nAvgBytesPerSec = 44100 * 4;
        if (waveOutOpen(&device_, WAVE_MAPPER, &format, (DWORD_PTR)wake, 0, CALLBACK_EVENT) != MMSYSERR_NOERROR) {
            device_ = nullptr;
            return false;
        }
        for (int i = 0; i < kBufferCount; ++i) {
            data_[i].assign(kFramesPerBuffer * kAudioFrameBytes, 0);
            ZeroMemory(&headers_[i], sizeof headers_[i]);
            headers_[i].lpData = (LPSTR)data_[i].data();
            headers_[i].dwBufferLength = (DWORD)data_[i].size();
            waveOutPrepareHeader(device_, &headers_[i], sizeof headers_[i]);
        }
        return true;
    }
    void close()
    {
        if (!device_)
            return;
        waveOutReset(device_);
        for (int i = 0; i < kBufferCount; ++i)
            waveOutUnprepareHeader(device_, &headers_[i], sizeof headers_[i]);
        waveOutClose(device_);
        device_ = nullptr;
        running_ = false;
    }
    // Drops what is queued; the stream then plays from `frame`.
    void restart(int frame, int end, uint32_t serial)
    {
        waveOutReset(device_);
        startFrame_ = nextFrame_ = frame;
        endFrame_ = end;
        serial_ = serial;
        running_ = true;
    }
    bool running() const { return running_; }
    uint32_t serial() const { return serial_; }
    // The frame the device is playing now.
    int playedFrame()
    {
        MMTIME time;
        time.wType = TIME_BYTES;
        if (waveOutGetPosition(device_, &time, sizeof time) != MMSYSERR_NOERROR || time.wType != TIME_BYTES)
            return nextFrame_;
        return startFrame_ + (int)(time.u.cb / kAudioFrameBytes);
    }
    void refill(DiscReader &reader, uint64_t nowMs)
    {
        for (int i = 0; i < kBufferCount && nextFrame_ < endFrame_; ++i) {
            if (headers_[i].dwFlags & WHDR_INQUEUE)
                continue;
            int count = endFrame_ - nextFrame_ < kFramesPerBuffer ? endFrame_ - nextFrame_ : kFramesPerBuffer;
            reader.read(nextFrame_, count, data_[i].data(), nowMs);
            headers_[i].dwBufferLength = (DWORD)(count * kAudioFrameBytes);
            if (waveOutWrite(device_, &headers_[i], sizeof headers_[i]) != MMSYSERR_NOERROR)
                return;
            nextFrame_ += count;
        }
    }

private:
    HWAVEOUT device_ = nullptr;
    WAVEHDR headers_[kBufferCount];
    std::vector<unsigned char> data_[kBufferCount];
    bool running_ = false;
    int startFrame_ = 0;
    int nextFrame_ = 0;
    int endFrame_ = 0;
    uint32_t serial_ = 0;
};

} // namespace

AudioFeed::AudioFeed(const std::string &folder, const std::string &label) : folder_(folder), label_(label) {}

std::unique_ptr<AudioFeed> AudioFeed::start(const std::string &folder, const std::string &label)
{
    std::unique_ptr<AudioFeed> feed(new AudioFeed(folder, label));
    feed->speaker_ = CreateMutexA(nullptr, FALSE, sharedObjectName(folder, "Speaker").c_str());
    if (!feed->speaker_ || !feed->shared_.open(folder))
        return nullptr;
    {
        SharedDrive::Guard guard(feed->shared_);
        if (guard.record())
            feed->listener_ = SharedDrive::addListener(guard.record());
    }
    // A named event, so that the other processes' commands can set it.
    std::string name = feed->listener_ ? feed->shared_.listenerEventName(feed->listener_) : std::string();
    feed->wake_ = CreateEventA(nullptr, FALSE, FALSE, name.empty() ? nullptr : name.c_str());
    if (!feed->wake_)
        return nullptr;
    try {
        feed->thread_ = std::thread([raw = feed.get()] { raw->run(); });
    } catch (const std::system_error &) {
        return nullptr; // the drive plays on without sound
    }
    return feed;
}

AudioFeed::~AudioFeed()
{
    quit_.store(true);
    if (wake_)
        SetEvent(wake_);
    if (thread_.joinable())
        thread_.join();
    if (listener_) {
        SharedDrive::Guard guard(shared_);
        if (guard.record()) {
            SharedDrive::removeListener(guard.record(), listener_);
            // The others may take over the sound this process gives up.
            shared_.wakeListeners(guard.record(), 0);
        }
    }
    if (speaker_)
        CloseHandle(speaker_);
    if (wake_)
        CloseHandle(wake_);
}

void AudioFeed::setDisc(const std::shared_ptr<const DiscImage> &image, uint64_t stamp)
{
    std::lock_guard<std::mutex> hold(discLock_);
    if (stamp == discStamp_)
        return;
    disc_ = image && image->hasAudioData() ? image : nullptr;
    discStamp_ = stamp;
    SetEvent(wake_);
}

void AudioFeed::run()
{
    DiscReader reader;
    WaveStream stream;
    bool speaking = false;   // this process holds the drive's speaker
    uint32_t failedSerial = 0;
    bool failed = false;
    while (!quit_.load()) {
        WaitForSingleObject(wake_, listener_ ? INFINITE : kWakeMs);
        if (quit_.load())
            break;
        wakeups_.fetch_add(1);
        SharedDriveRecord record;
        {
            SharedDrive::Guard guard(shared_);
            if (!guard.record())
                continue;
            record = *guard.record();
        }
        std::shared_ptr<const DiscImage> disc;
        {
            std::lock_guard<std::mutex> hold(discLock_);
            if (record.discStamp == discStamp_)
                disc = disc_;
        }
        if (record.timeline.mode != PlayMode::Playing || !disc) {
            // Closed, not only reset: an open wave device keeps the sound
            // system's threads ticking every few milliseconds (Wine's
            // PulseAudio driver does) while nothing plays.
            if (stream.isOpen())
                stream.close();
            continue;
        }
        if (!speaking) {
            DWORD got = WaitForSingleObject(speaker_, 0);
            if (got != WAIT_OBJECT_0 && got != WAIT_ABANDONED)
                continue; // another process plays this drive's sound
            speaking = true;
        }
        if (!stream.isOpen()) {
            if (failed && failedSerial == record.serial)
                continue;
            if (!stream.open(wake_)) {
                if (!failed)
                    platterDiag("Drive %s: no wave device; the disc plays without sound.", label_.c_str());
                failed = true;
                failedSerial = record.serial;
                continue;
            }
            failed = false;
        }
        reader.use(disc, folder_);
        int position = timelinePosition(record.timeline, playClockNow());
        if (!stream.running() || stream.serial() != record.serial || abs(stream.playedFrame() - position) > kDriftFrames)
            stream.restart(position, record.timeline.endFrame, record.serial);
        stream.refill(reader, GetTickCount64());
    }
    stream.close();
    if (speaking)
        ReleaseMutex(speaker_);
}

} // namespace devices

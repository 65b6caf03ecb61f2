// audiofeed.h - the sound of a virtual drive: a thread that follows the
// drive's shared play state and feeds the wave device from the image's
// data files. Of all the processes that have the drive open, one plays the
// sound (the first to need it); the state machine never waits on it, and a
// machine without a wave device only loses the sound.
#ifndef LIBPLATTER_DEVICES_AUDIOFEED_H
#define LIBPLATTER_DEVICES_AUDIOFEED_H

#include "libplatter/devices/discimage.h"
#include "libplatter/devices/shareddrive.h"

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

namespace devices {

class AudioFeed {
public:
    // Null when the thread cannot start.
    static std::unique_ptr<AudioFeed> start(const std::string &folder, const std::string &label);
    ~AudioFeed();
    AudioFeed(const AudioFeed &) = delete;
    AudioFeed &operator=(const AudioFeed &) = delete;

    // The disc the drive holds now (called by the drive's own calls).
    void setDisc(const std::shared_ptr<const DiscImage> &image, uint64_t stamp);
    // How often the thread woke and looked at the shared state (for tests).
    int wakeups() const { return wakeups_.load(); }

private:
    AudioFeed(const std::string &folder, const std::string &label);
    void run();

    std::string folder_;
    std::string label_;
    SharedDrive shared_;
    HANDLE wake_ = nullptr;     // wave device callbacks, state changes and the end of the thread
    uint32_t listener_ = 0;     // this thread's place among the drive's listeners; 0: none
    HANDLE speaker_ = nullptr;  // named: held by the one process that plays the drive
    std::atomic<bool> quit_{false};
    std::atomic<int> wakeups_{0};
    std::mutex discLock_;
    std::shared_ptr<const DiscImage> disc_;
    uint64_t discStamp_ = 0;
    std::thread thread_;
};

} // namespace devices

#endif

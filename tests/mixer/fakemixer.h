// fakemixer.h - a scripted set of sound cards for the volume mixer's tests:
// devices, their lines and controls as a test describes them, the control
// values, and a record of what the mixer code opened, wrote and closed.
#ifndef TESTS_MIXER_FAKEMIXER_H
#define TESTS_MIXER_FAKEMIXER_H

#include <windows.h>
#include <mmsystem.h>

#include <map>
#include <string>
#include <utility>
#include <vector>

namespace fakemixer {

struct Control {
    DWORD id;
    DWORD type;
    std::string name;
    DWORD minimum;
    DWORD maximum;
    DWORD steps;
};

Control volume(DWORD id, DWORD minimum = 0, DWORD maximum = 65535, DWORD steps = 32, const char *name = "Volume");
Control mute(DWORD id, const char *name = "Mute");
Control other(DWORD id, DWORD type, const char *name);

struct Line {
    std::string shortName;
    std::string name;
    DWORD componentType;
    std::vector<Control> controls;
    std::vector<Line> sources;   // for destinations only
    bool infoFails = false;
    bool controlsFail = false;
};

struct Device {
    std::string name;
    std::vector<Line> destinations;
    bool openFails = false;
    bool capsFails = false;
};

struct OpenCall {
    UINT deviceId;
    DWORD_PTR callback;
    DWORD flags;
};

struct SetCall {
    HMIXER mixer;
    DWORD controlId;
    DWORD value;
    DWORD channels;
    DWORD valueSize;
    DWORD flags;
};

struct State {
    std::vector<Device> devices;
    // Control values by device handle and control id.
    std::map<std::pair<HMIXER, DWORD>, DWORD> values;
    // Controls whose value cannot be read.
    std::vector<std::pair<HMIXER, DWORD>> unreadable;
    std::vector<OpenCall> opens;
    std::vector<HMIXER> closes;
    std::vector<SetCall> sets;
    int reads = 0;
};

// The scripted mixer's state; reset by install().
State &state();
// Puts the scripted mixer in the place of winmm's (and clears the state).
void install();
// Puts winmm's mixer back.
void uninstall();
// The handle the scripted mixer gives device `deviceId`.
HMIXER handleOf(UINT deviceId);

} // namespace fakemixer

#endif

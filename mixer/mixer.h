// mixer.h - the volume mixer: the volume and mute controls found on the
// sound cards' speaker outputs, and the commands of the panel's volume
// buttons and volume bar. Entries are numbered from 1, as the options'
// VolumeMixer and the "Select Volume Control" submenu count them.
#ifndef MIXER_MIXER_H
#define MIXER_MIXER_H

#include <windows.h>
#include <mmsystem.h>

#include <string>
#include <vector>

// One usable mixer line: the speaker output of a sound card or one of its
// sources, with a volume fader, a mute switch or both.
struct MixerEntry {
    HMIXER mixer;            // the open device; several entries share one
    std::string lineName;    // the line's short name, shown in the submenu
    int hasVolume;
    DWORD volumeControlId;
    DWORD volumeMin;
    DWORD volumeMax;
    DWORD volumeStep;        // what one button press moves the fader
    int hasMute;
    DWORD muteControlId;
};

// The entries in the order they were found; built once at set-up and kept
// until closeMixers.
extern std::vector<MixerEntry> mixerList;
// The number of entries; 0 when no mixer or no usable line exists.
extern int mixerCount;

// Opens every mixer device with change notifications (MM_MIXM_CONTROL_CHANGE,
// the mixer handle in wParam and the control id in lParam) going to
// `window`, and collects the entries. Returns mixerCount.
int openMixers(HWND window);
// Closes every device once and empties the list.
void closeMixers();

// The entry numbered `index`; null outside 1..mixerCount.
const MixerEntry *mixerEntry(int index);
// The entry's line name; null outside 1..mixerCount.
const char *mixerLineName(int index);
// 1 when the entry has a volume fader (mixerHasVolume) or a mute switch
// (mixerHasMute); 0 otherwise and outside 1..mixerCount.
int mixerHasVolume(int index);
int mixerHasMute(int index);
// The entry whose device is `mixer` and whose volume or mute control is
// `controlId`; 0 when none.
int findMixerEntry(HMIXER mixer, DWORD controlId);

// One press of the volume buttons and a click on the volume bar. Nothing
// happens outside 1..mixerCount, when the entry lacks the control, or when
// its value cannot be read.
void volumeUp(int index);
void volumeDown(int index);
void toggleMute(int index);

// What readMixerLevel filled in.
#define MIXER_LEVEL_VOLUME 1   /* minimum, maximum and value */
#define MIXER_LEVEL_MUTE   2   /* muted */

// The entry's fader bounds and value, and its mute state, for the volume
// bar. Outputs that could not be read (no such control, a failed read) are
// left as they were; any output may be null. Returns the MIXER_LEVEL_*
// bits of what was filled in.
int readMixerLevel(int index, DWORD *minimum, DWORD *maximum, DWORD *value, int *muted);

#endif

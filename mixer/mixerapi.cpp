// mixerapi.cpp - the mixer call table: winmm's functions unless a test has
// put its own in place.
#include "mixer/mixerapi.h"

namespace {

const MixerApi winmmMixer = {
    mixerGetNumDevs,
    mixerOpen,
    mixerClose,
    mixerGetDevCapsA,
    mixerGetLineInfoA,
    mixerGetLineControlsA,
    mixerGetControlDetailsA,
    mixerSetControlDetails,
};

const MixerApi *currentApi = &winmmMixer;

} // namespace

const MixerApi &mixerApi()
{
    return *currentApi;
}

void setMixerApi(const MixerApi *api)
{
    currentApi = api ? api : &winmmMixer;
}

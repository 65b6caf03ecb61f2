// menus_volume.cpp - the panel menu's "Select Volume Control" submenu: one
// item per mixer line, the selected one checked, and the panel's volume
// buttons and bar enabled by what that line can do.
#include "ui/menus.h"
#include "ui/menus_items.h"

#include "mixer/mixer.h"
#include "options/options.h"
#include "res/resource.h"

void refreshVolumeMenu(int rebuild)
{
    if (rebuild) {
        clearMenu(volumeMenu);
        // Line names come from the sound card's driver and are shown as
        // they are. An entry without a name still takes its place, so that
        // positions keep matching the entry numbers.
        for (int control = 1; control <= mixerCount; ++control) {
            const char *name = mixerLineName(control);
            appendItem(volumeMenu, name ? name : "", IDM_VOLUME_FIRST + control - 1, false);
        }
    }
    int selected = options.VolumeMixer;
    checkOnlyPosition(volumeMenu, selected - 1);

    bool hasVolume = selected != 0 && mixerHasVolume(selected);
    bool hasMute = selected != 0 && mixerHasMute(selected);
    setPanelControlEnabled(IDC_VOLUME_UP, hasVolume);
    setPanelControlEnabled(IDC_VOLUME_DOWN, hasVolume);
    setPanelControlEnabled(IDC_VOLUME_BAR, hasMute);
}

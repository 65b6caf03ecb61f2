// optionssheet.cpp - the options sheet itself: the working copy, the six
// pages, and the copy going back over the live options on OK.
#include "options/optionssheet.h"
#include "options/optionspages.h"

#include "core/appstate.h"
#include "cddb/serverlist.h"
#include "res/resource.h"
#include "ui/modal.h"

#include <commctrl.h>
#include <prsht.h>

#include <cstring>
#include <iterator>
#include <memory>

namespace {

const char *const sheetCaption = "Spindle2 Options";

struct PageEntry {
    int templateId;
    DLGPROC proc;
};

const PageEntry optionPages[] = {
    {IDD_OPT_PANEL, panelPageProc},
    {IDD_OPT_PLAY_MODES, playModesPageProc},
    {IDD_OPT_TIME_DISPLAY, timeDisplayPageProc},
    {IDD_OPT_EJECT_EXIT, ejectExitPageProc},
    {IDD_OPT_CDDB_QUERY, cddbQueryPageProc},
    {IDD_OPT_CDDB_SUBMIT, cddbSubmitPageProc},
};

// The copy goes back whole, but for the values no page shows: windows may
// have moved while the sheet was open (the status window of a lookup that
// runs meanwhile keeps its place in StatusX and StatusY), and the sheet
// must not put back where they were when it opened.
void acceptCopy(const OptionsRecord &copy)
{
    OptionsRecord accepted = copy;
    accepted.ControlsX = options.ControlsX;
    accepted.ControlsY = options.ControlsY;
    accepted.StatusX = options.StatusX;
    accepted.StatusY = options.StatusY;
    accepted.VolumeMixer = options.VolumeMixer;
    options = accepted;
}

} // namespace

int showOptionsSheet()
{
    InitCommonControls();
    std::unique_ptr<OptionsRecord> copy(new OptionsRecord(options));
    loadServerChoices();
    optionsCopy = copy.get();
    optionsAccepted = false;

    PROPSHEETPAGEA pages[std::size(optionPages)];
    for (size_t i = 0; i < std::size(optionPages); ++i) {
        memset(&pages[i], 0, sizeof pages[i]);
        pages[i].dwSize = sizeof pages[i];
        pages[i].dwFlags = PSP_DEFAULT;
        pages[i].hInstance = instanceHandle;
        pages[i].pszTemplate = MAKEINTRESOURCEA(optionPages[i].templateId);
        pages[i].pfnDlgProc = optionPages[i].proc;
    }
    PROPSHEETHEADERA header;
    memset(&header, 0, sizeof header);
    header.dwSize = sizeof header;
    header.dwFlags = PSH_PROPSHEETPAGE | PSH_USEICONID | PSH_NOAPPLYNOW;
    header.hwndParent = mainWindow;
    header.hInstance = instanceHandle;
    header.pszIcon = MAKEINTRESOURCEA(IDI_CD_PLAYING);
    header.pszCaption = sheetCaption;
    header.nPages = (UINT)std::size(pages);
    header.nStartPage = 0;
    header.ppsp = pages;
    runPropertySheet(&header);

    freeServerChoices();
    optionsCopy = nullptr;
    int accepted = optionsAccepted ? 1 : 0;
    optionsAccepted = false;
    if (accepted)
        acceptCopy(*copy);
    return accepted;
}

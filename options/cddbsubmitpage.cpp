// cddbsubmitpage.cpp - the "CDDB Submit" page: the SMTP server and port
// that carry submissions, the user's return address, and the status window.
#include "options/optionspages.h"

#include "res/resource.h"

#include <iterator>

namespace {

const BoxOption submitBoxes[] = {
    {IDC_OPT_SUBMIT_STATUS, &OptionsRecord::cddbSubmitShowStatus},
};

void loadSubmit(HWND page)
{
    loadBoxes(page, submitBoxes, std::size(submitBoxes));
    loadText(page, IDC_OPT_SMTP_SERVER, optionsCopy->SMTPServer, OPTION_TEXT_LIMIT);
    loadPort(page, IDC_OPT_SMTP_PORT, optionsCopy->SMTPServerPort);
    loadText(page, IDC_OPT_RETURN_ADDRESS, optionsCopy->ReturnAddress, OPTION_TEXT_LIMIT);
}

bool storeSubmit(HWND page)
{
    int32_t port = optionsCopy->SMTPServerPort;
    if (!storePort(page, IDC_OPT_SMTP_PORT, &port))
        return false;
    optionsCopy->SMTPServerPort = port;
    storeText(page, IDC_OPT_SMTP_SERVER, optionsCopy->SMTPServer, OPTION_TEXT_LIMIT);
    storeText(page, IDC_OPT_RETURN_ADDRESS, optionsCopy->ReturnAddress, OPTION_TEXT_LIMIT);
    storeBoxes(page, submitBoxes, std::size(submitBoxes));
    return true;
}

const OptionsPage submitPage = {nullptr, loadSubmit, storeSubmit, nullptr};

} // namespace

INT_PTR CALLBACK cddbSubmitPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam)
{
    return optionsPageMessage(submitPage, page, message, wParam, lParam);
}

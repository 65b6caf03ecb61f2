// cddbquerypage.cpp - the "CDDB Query" page: the local CDDB tree, the
// remote server chosen from the stored server list, and the proxy. With
// the proxy on, the server list is out of use (but keeps its choice) and
// the proxy's host and port apply; with it off, the other way round.
#include "options/optionspages.h"

#include "cddb/serverlist.h"
#include "res/resource.h"

#include <cstdio>
#include <iterator>

namespace {

const BoxOption queryBoxes[] = {
    {IDC_OPT_QUERY_LOCAL, &OptionsRecord::cddbQueryLocal},
    {IDC_OPT_QUERY_SERVER, &OptionsRecord::cddbQueryServer},
    {IDC_OPT_USE_PROXY, &OptionsRecord::cddbUseProxy},
    {IDC_OPT_QUERY_STATUS, &OptionsRecord::cddbQueryShowStatus},
};

bool proxyChecked(HWND page)
{
    return IsDlgButtonChecked(page, IDC_OPT_USE_PROXY) == BST_CHECKED;
}

void applyProxyRule(HWND page, bool proxy)
{
    EnableWindow(GetDlgItem(page, IDC_OPT_SERVERS), !proxy);
    EnableWindow(GetDlgItem(page, IDC_OPT_PROXY_HOST), proxy);
    EnableWindow(GetDlgItem(page, IDC_OPT_PROXY_PORT), proxy);
}

// The line of the first stored server named exactly as cddbServer, or the
// first line.
int serverLine()
{
    for (int i = 0; i < serverChoices.count && i < (int)serverChoices.hosts.size(); ++i)
        if (serverChoices.hosts[(size_t)i] == optionsCopy->cddbServer)
            return i;
    return 0;
}

void initQuery(HWND page)
{
    HWND list = GetDlgItem(page, IDC_OPT_SERVERS);
    for (const std::string &text : serverChoices.texts)
        SendMessageA(list, CB_ADDSTRING, 0, (LPARAM)text.c_str());
}

void loadQuery(HWND page)
{
    loadBoxes(page, queryBoxes, std::size(queryBoxes));
    loadText(page, IDC_OPT_LOCAL_ROOT, optionsCopy->cddbLocalRoot, OPTION_PATH_LIMIT);
    applyProxyRule(page, proxyChecked(page));
    SendDlgItemMessageA(page, IDC_OPT_SERVERS, CB_SETCURSEL, (WPARAM)serverLine(), 0);
    loadText(page, IDC_OPT_PROXY_HOST, optionsCopy->cddbProxy, OPTION_TEXT_LIMIT);
    loadPort(page, IDC_OPT_PROXY_PORT, optionsCopy->cddbProxyPort);
}

bool storeQuery(HWND page)
{
    // A proxy port is needed only with the proxy on; while it is off its
    // edit cannot be changed, and a stored port that is no port stays.
    int32_t proxyPort = optionsCopy->cddbProxyPort;
    if (proxyChecked(page)) {
        if (!storePort(page, IDC_OPT_PROXY_PORT, &proxyPort))
            return false;
    } else {
        parsePort(controlText(page, IDC_OPT_PROXY_PORT), &proxyPort);
    }
    storeBoxes(page, queryBoxes, std::size(queryBoxes));
    storeText(page, IDC_OPT_LOCAL_ROOT, optionsCopy->cddbLocalRoot, OPTION_PATH_LIMIT);
    int line = (int)SendDlgItemMessageA(page, IDC_OPT_SERVERS, CB_GETCURSEL, 0, 0);
    if (line >= 0 && line < serverChoices.count && (size_t)line < serverChoices.hosts.size()) {
        const std::string &host = serverChoices.hosts[(size_t)line];
        snprintf(optionsCopy->cddbServer, sizeof optionsCopy->cddbServer, "%s", host.c_str());
        optionsCopy->cddbServerPort = serverChoices.ports[(size_t)line];
    }
    storeText(page, IDC_OPT_PROXY_HOST, optionsCopy->cddbProxy, OPTION_TEXT_LIMIT);
    optionsCopy->cddbProxyPort = proxyPort;
    return true;
}

INT_PTR queryCommand(HWND page, int id, int code)
{
    if (id == IDC_OPT_USE_PROXY && code == BN_CLICKED) {
        applyProxyRule(page, proxyChecked(page));
        return 1;
    }
    return 0;
}

const OptionsPage queryPage = {initQuery, loadQuery, storeQuery, queryCommand};

} // namespace

INT_PTR CALLBACK cddbQueryPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam)
{
    return optionsPageMessage(queryPage, page, message, wParam, lParam);
}

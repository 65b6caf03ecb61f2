// netfixture.cpp - the servers' ports and spool, and the caught callbacks.
#include "tests/cddbnet/netfixture.h"

#include <winsock2.h>
#include <windows.h>

#include <cstdlib>
#include <mutex>
#include <sstream>

namespace nettest {

namespace {

std::mutex caughtLock;
std::vector<std::string> caughtStatus, caughtDiag;

void onStatus(const char *text)
{
    std::lock_guard<std::mutex> hold(caughtLock);
    caughtStatus.push_back(text);
}

void onDiag(char *line)
{
    std::lock_guard<std::mutex> hold(caughtLock);
    caughtDiag.push_back(line);
}

std::string environment(const char *name)
{
    const char *value = getenv(name);
    return value ? value : "";
}

} // namespace

int portOf(const std::string &mode)
{
    std::istringstream ports(environment("SPINDLE2_CDDB_PORTS"));
    std::string item;
    while (ports >> item)
        if (item.compare(0, mode.size() + 1, mode + "=") == 0)
            return atoi(item.c_str() + mode.size() + 1);
    ADD_FAILURE() << "no port for the mode " << mode << ": run through tests/servers/with-servers.sh";
    return 1;
}

int smtpPort()
{
    int port = atoi(environment("SPINDLE2_SMTP_PORT").c_str());
    if (!port)
        ADD_FAILURE() << "no SMTP server: run through tests/servers/with-servers.sh";
    return port ? port : 1;
}

std::string spoolFile(const std::string &name)
{
    return harness::readFile(environment("SPINDLE2_TEST_SPOOL") + "\\" + name);
}

int lastSpoolNumber(const std::string &prefix, const std::string &suffix)
{
    int n = 0;
    while (harness::fileExists(environment("SPINDLE2_TEST_SPOOL") + "\\" + prefix + std::to_string(n + 1) + suffix))
        ++n;
    return n;
}

int closedPort()
{
    WSADATA data;
    WSAStartup(MAKEWORD(2, 2), &data);
    SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bind(s, (sockaddr *)&address, sizeof address);
    int size = sizeof address;
    getsockname(s, (sockaddr *)&address, &size);
    closesocket(s);
    WSACleanup();
    return ntohs(address.sin_port);
}

void NetTest::SetUp()
{
    {
        std::lock_guard<std::mutex> hold(caughtLock);
        caughtStatus.clear();
        caughtDiag.clear();
    }
    platter_stat_init(onStatus);
    platter_diag_init(onDiag);
    // Short enough that a hostile server ends a test quickly, long enough
    // for a loaded machine.
    platter_net_set_timeouts(3000, 3000, 10000);
    ASSERT_EQ(1, platter_net_init());
}

void NetTest::TearDown()
{
    platter_net_cleanup();
    platter_net_set_timeouts(0, 0, 0);
    platter_stat_init(nullptr);
    platter_diag_init(nullptr);
}

std::vector<std::string> NetTest::statusTexts() const
{
    std::lock_guard<std::mutex> hold(caughtLock);
    return caughtStatus;
}

std::vector<std::string> NetTest::diagLines() const
{
    std::lock_guard<std::mutex> hold(caughtLock);
    return caughtDiag;
}

bool NetTest::sawDiag(const std::string &start) const
{
    for (const std::string &line : diagLines())
        if (line.compare(0, start.size(), start) == 0)
            return true;
    return false;
}

} // namespace nettest

// netfixture.h - what the network tests share: the ports of the CDDB test
// server's modes and of the SMTP server (started beside each test by
// tests/servers/with-servers.sh), their spool folder, the library's status
// texts and diagnostics lines caught, and short time-outs.
#ifndef TESTS_CDDBNET_NETFIXTURE_H
#define TESTS_CDDBNET_NETFIXTURE_H

#include "harness/harness.h"
#include "platter/platter.h"

#include <string>
#include <vector>

namespace nettest {

// The port of a mode of cddbserver.py ("cddbp", "http", "drip" ...); the
// test fails when the servers were not started.
int portOf(const std::string &mode);
int smtpPort();
// A file of the servers' spool folder; "" when missing.
std::string spoolFile(const std::string &name);
// The highest N for which spool file prefix-N + suffix exists (0: none).
int lastSpoolNumber(const std::string &prefix, const std::string &suffix);
// A loopback port nothing listens on.
int closedPort();

class NetTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    // Every status text and diagnostics line since SetUp.
    std::vector<std::string> statusTexts() const;
    std::vector<std::string> diagLines() const;
    bool sawDiag(const std::string &start) const;
};

} // namespace nettest

#endif

// mixerfixture.h - what the volume mixer's tests share: the scripted mixer
// put in place for each test, and the diagnostics lines a piece of work
// wrote.
#ifndef TESTS_MIXER_MIXERFIXTURE_H
#define TESTS_MIXER_MIXERFIXTURE_H

#include "mixer/mixer.h"
#include "tests/mixer/fakemixer.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

// Runs `work` with the diagnostics log open in a scratch folder and returns
// the lines it wrote, without their time prefix.
std::vector<std::string> logLinesOf(const std::function<void()> &work);

class FakeMixerTest : public ::testing::Test {
protected:
    void SetUp() override { fakemixer::install(); }
    void TearDown() override
    {
        closeMixers();
        fakemixer::uninstall();
    }
};

#endif

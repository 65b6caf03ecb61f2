// wavefile_test.cpp - finding the sound data of a WAVE file and refusing
// files that are not CD audio.
#include "libplatter/devices/wavefile.h"
#include "tests/libplatter/devices/devicetest.h"

#include <cstring>

namespace {

using namespace devices;

void put32(std::string &s, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        s += (char)(v >> (8 * i) & 0xFF);
}

void put16(std::string &s, uint16_t v)
{
    s += (char)(v & 0xFF);
    s += (char)(v >> 8);
}

std::string chunk(const char *id, const std::string &body, uint32_t declaredSize)
{
    std::string s(id, 4);
    put32(s, declaredSize);
    return s + body;
}

std::string fmt(uint16_t tag, uint16_t channels, uint32_t rate, uint16_t bits)
{
    std::string body;
    put16(body, tag);
    put16(body, channels);
    put32(body, rate);
    put32(body, rate * channels * bits / 8);
    put16(body, (uint16_t)(channels * bits / 8));
    put16(body, bits);
    return chunk("fmt ", body, 16);
}

std::string riff(const std::string &chunks)
{
    std::string s = "RIFF";
    put32(s, (uint32_t)(chunks.size() + 4));
    return s + "WAVE" + chunks;
}

struct WaveCase {
    const char *name;
    std::string head;
    uint64_t fileSize;
    bool usable;
    uint64_t dataOffset;
    uint64_t dataBytes;
    const char *problem;
};

// Printed as its name, in test lists and in CTest's test names.
void PrintTo(const WaveCase &c, std::ostream *os)
{
    *os << c.name;
}

const std::string kCdFormat = fmt(1, 2, 44100, 16);

const WaveCase kCases[] = {
    {"Plain", riff(kCdFormat + chunk("data", "", 2352 * 10)), 44 + 2352 * 10, true, 44, 2352 * 10, ""},
    {"ListChunkFirstOddSized", riff(chunk("LIST", std::string(5, 'x') + '\0', 5) + kCdFormat + chunk("data", "", 4704)),
     58 + 4704, true, 58, 4704, ""},
    {"Extensible", riff(fmt(0xFFFE, 2, 44100, 16) + chunk("data", "", 2352)), 44 + 2352, true, 44, 2352, ""},
    {"StreamedSizeZeroTakesTheRest", riff(kCdFormat + chunk("data", "", 0)), 44 + 9999, true, 44, 9999, ""},
    {"SizeBeyondTheFileIsCut", riff(kCdFormat + chunk("data", "", 1000000)), 44 + 500, true, 44, 500, ""},
    {"NotRiff", std::string("RIFX") + std::string(40, '\0'), 100, false, 0, 0, "not a RIFF WAVE file"},
    {"TooShort", "RIFF", 4, false, 0, 0, "not a RIFF WAVE file"},
    {"Mono", riff(fmt(1, 1, 44100, 16) + chunk("data", "", 100)), 144, false, 0, 0,
     "not CD audio (PCM, 44100 Hz, 16 bits, stereo)"},
    {"FortyEightKilohertz", riff(fmt(1, 2, 48000, 16) + chunk("data", "", 100)), 144, false, 0, 0,
     "not CD audio (PCM, 44100 Hz, 16 bits, stereo)"},
    {"EightBits", riff(fmt(1, 2, 44100, 8) + chunk("data", "", 100)), 144, false, 0, 0,
     "not CD audio (PCM, 44100 Hz, 16 bits, stereo)"},
    {"Compressed", riff(fmt(2, 2, 44100, 16) + chunk("data", "", 100)), 144, false, 0, 0,
     "not CD audio (PCM, 44100 Hz, 16 bits, stereo)"},
    {"DataBeforeFormat", riff(chunk("data", "", 0) + kCdFormat), 100, false, 0, 0, "its data comes before its format"},
    {"NoDataChunk", riff(kCdFormat), 36, false, 0, 0, "no data chunk in its first 64 KB"},
    {"FormatCutShort", riff(chunk("fmt ", "\x01\x00", 2)), 30, false, 0, 0, "its format chunk is cut short"},
    {"ChunkSizeRunsAway", riff(chunk("junk", "", 0xFFFFFFF0u) + kCdFormat), 100, false, 0, 0,
     "no data chunk in its first 64 KB"},
};

class WaveHeaderTest : public ::testing::TestWithParam<WaveCase> {};

TEST_P(WaveHeaderTest, FindsTheSoundOrSaysWhy)
{
    const WaveCase &c = GetParam();
    FileFacts facts = readWaveHeader((const unsigned char *)c.head.data(), c.head.size(), c.fileSize);
    EXPECT_EQ(facts.usable, c.usable);
    EXPECT_EQ(facts.dataOffset, c.dataOffset);
    EXPECT_EQ(facts.dataBytes, c.dataBytes);
    EXPECT_EQ(facts.problem, c.problem);
}

INSTANTIATE_TEST_SUITE_P(Headers, WaveHeaderTest, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<WaveCase> &info) { return std::string(info.param.name); });

} // namespace

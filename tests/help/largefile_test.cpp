// A help file of 300 topics (written by largehelp.py with the same tool):
// its B+ trees need index pages and its text many topic blocks. The
// reader and Wine's viewer must find every topic through them.
#include "help/helpfixture.h"
#include "help/viewer.h"

#include <cstdio>

namespace {

const int topicCount = 300;

std::string name(int n)
{
    char text[16];
    snprintf(text, sizeof text, "t%03d", n);
    return text;
}

std::string title(int n)
{
    char text[96];
    snprintf(text, sizeof text, "Large file topic %03d, with a title long enough to fill pages", n);
    return text;
}

std::string largeFilePath()
{
    return harness::binFolder() + "\\helptest-large.hlp";
}

uint16_t treePages(const std::string &file)
{
    return static_cast<uint16_t>(static_cast<uint8_t>(file[30]) | static_cast<uint8_t>(file[31]) << 8);
}

TEST(LargeHelpFile, EveryTopicIsFoundByNameIdAndTitleThroughIndexPages)
{
    hlp::HelpFile help(hlp::readFileBytes(largeFilePath()));
    ASSERT_EQ(help.topics.size(), static_cast<size_t>(topicCount + 1));
    EXPECT_GT(treePages(help.internalFile("|CONTEXT")), 2) << "the context tree should need an index page";
    EXPECT_GT(treePages(help.internalFile("|TTLBTREE")), 2) << "the title tree should need an index page";
    EXPECT_GT(help.internalFile("|TOPIC").size(), 8u * 4096) << "the text should fill many topic blocks";

    const hlp::Topic *contents = help.topicAt(help.contentsOffset);
    ASSERT_NE(contents, nullptr);
    ASSERT_EQ(contents->hotspots.size(), static_cast<size_t>(topicCount));
    for (int n = 1; n <= topicCount; ++n) {
        SCOPED_TRACE(name(n));
        const hlp::Topic *byName = help.topicByHash(hlp::contextHash(name(n)));
        ASSERT_NE(byName, nullptr);
        EXPECT_EQ(byName->title, title(n));
        EXPECT_EQ(byName->paragraphs.back(), "This is the text of topic " + name(n).substr(1) + ".");
        ASSERT_EQ(help.helpIds.count(1000 + n), 1u);
        EXPECT_EQ(help.helpIds.at(1000 + n), byName->offset);
        EXPECT_EQ(help.titleTree.at(byName->offset), title(n));
        EXPECT_EQ(help.topicByHash(contents->hotspots[n - 1].hash), byName);
    }
}

TEST(LargeHelpFile, WinesViewerFindsTopicsOfEveryLeafByTheirNames)
{
    viewer::closeAll();
    for (int n : {1, 150, topicCount}) {
        SCOPED_TRACE(name(n));
        DWORD process = viewer::openTopic(name(n), largeFilePath());
        ASSERT_NE(process, 0u);
        std::string expected = title(n) + " This is the text of topic " + name(n).substr(1) + ".";
        std::string shown;
        harness::pumpUntil(
            [&] {
                HWND main = viewer::find(false, process);
                return main && (shown = viewer::text(main)) == expected;
            },
            15000);
        EXPECT_EQ(shown, expected);
        viewer::closeAll();
    }
}

} // namespace

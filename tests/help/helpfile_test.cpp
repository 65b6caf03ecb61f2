// The help file as built into the bin folder, read back by the tests' own
// reader: its internal files, the contents topic and its jumps, and the
// topic that every help id of the two property sheets opens.
#include "help/helpfixture.h"

#include <set>

namespace {

TEST(HelpFileLayout, HoldsTheInternalFilesOfAnUncompressedHelpFile)
{
    const hlp::HelpFile &help = helptest::helpFile();
    std::vector<std::string> expected = {"|CONTEXT", "|CTXOMAP", "|FONT", "|SYSTEM", "|TOPIC", "|TTLBTREE"};
    EXPECT_EQ(help.fileNames, expected);
    EXPECT_EQ(help.minorVersion, 21) << "a WinHelp 3.1 file";
    EXPECT_EQ(help.systemFlags, 0) << "no LZ77 compression";
    EXPECT_EQ(help.title, "Spindle2 Help");
    EXPECT_EQ(help.copyright, "Copyright (C) 2026 the Spindle2 developers");
    ASSERT_FALSE(help.fonts.empty());
    for (const hlp::Font &font : help.fonts) {
        EXPECT_EQ(font.face, "Arial");
        EXPECT_GE(font.halfPoints, 16);
    }
}

TEST(HelpFileLayout, TitleTreeAndContextsNameEveryTopicOnce)
{
    const hlp::HelpFile &help = helptest::helpFile();
    ASSERT_GT(help.topics.size(), 40u);
    EXPECT_EQ(help.titleTree.size(), help.topics.size());
    std::set<uint32_t> named;
    for (const auto &context : help.contexts)
        named.insert(context.second);
    for (const hlp::Topic &topic : help.topics) {
        auto title = help.titleTree.find(topic.offset);
        ASSERT_NE(title, help.titleTree.end()) << topic.title << " has no entry in |TTLBTREE";
        EXPECT_EQ(title->second, topic.title);
        EXPECT_TRUE(named.count(topic.offset)) << topic.title << " has no context string";
        EXPECT_FALSE(topic.paragraphs.empty()) << topic.title << " has no text";
    }
    EXPECT_EQ(help.contexts.size(), help.topics.size());
}

TEST(HelpFileContents, OpensOnTheContentsTopicWhichJumpsToEveryOtherMainTopic)
{
    const hlp::HelpFile &help = helptest::helpFile();
    const hlp::Topic *contents = help.topicAt(help.contentsOffset);
    ASSERT_NE(contents, nullptr) << "|SYSTEM names no topic as the contents";
    EXPECT_EQ(contents->title, "Spindle2 Help Contents");
    EXPECT_EQ(contents->paragraphs.front(), "Spindle2 Help Contents");
    EXPECT_EQ(contents->offset, help.topics.front().offset) << "the contents is the first topic";

    std::set<uint32_t> reached;
    for (const hlp::Hotspot &jump : contents->hotspots) {
        const hlp::Topic *target = help.topicByHash(jump.hash);
        ASSERT_NE(target, nullptr) << "\"" << jump.text << "\" leads nowhere";
        EXPECT_FALSE(jump.popup) << "\"" << jump.text << "\" in the contents should jump";
        reached.insert(target->offset);
    }
    std::set<uint32_t> popups;
    for (const auto &id : help.helpIds)
        popups.insert(id.second);
    for (const hlp::Topic &topic : help.topics) {
        if (&topic != contents && !popups.count(topic.offset)) {
            EXPECT_TRUE(reached.count(topic.offset)) << "the contents does not lead to \"" << topic.title << "\"";
        }
    }
}

TEST(HelpFileContents, EveryHotspotOpensATopicOfItsKind)
{
    // Jumps lead to topics of the main window, pop-ups to the short topics
    // that the help ids open.
    const hlp::HelpFile &help = helptest::helpFile();
    std::set<uint32_t> popups;
    for (const auto &id : help.helpIds)
        popups.insert(id.second);
    std::set<uint32_t> popupsReached;
    for (const hlp::Topic &topic : help.topics) {
        for (const hlp::Hotspot &spot : topic.hotspots) {
            const hlp::Topic *target = help.topicByHash(spot.hash);
            ASSERT_NE(target, nullptr) << "\"" << spot.text << "\" in \"" << topic.title << "\" leads nowhere";
            EXPECT_FALSE(spot.text.empty());
            EXPECT_EQ(spot.popup, popups.count(target->offset) == 1)
                << "\"" << spot.text << "\" in \"" << topic.title << "\"";
            if (spot.popup)
                popupsReached.insert(target->offset);
        }
    }
    EXPECT_EQ(popupsReached, popups) << "every pop-up topic can also be opened from a main topic";
}

TEST(HelpFileHelpIds, EachIdOfBothSheetsOpensTheTopicOfItsControl)
{
    const hlp::HelpFile &help = helptest::helpFile();
    std::set<uint32_t> expectedIds;
    for (const helptest::HelpIdCase &c : helptest::helpIdCases())
        expectedIds.insert(c.id);
    std::set<uint32_t> ids;
    for (const auto &id : help.helpIds)
        ids.insert(id.first);
    EXPECT_EQ(ids, expectedIds) << "|CTXOMAP maps exactly the help ids 65 to 103";

    for (const helptest::HelpIdCase &c : helptest::helpIdCases()) {
        SCOPED_TRACE("help id " + std::to_string(c.id));
        auto mapped = help.helpIds.find(c.id);
        ASSERT_NE(mapped, help.helpIds.end());
        const hlp::Topic *topic = help.topicAt(mapped->second);
        ASSERT_NE(topic, nullptr) << "maps to no topic";
        EXPECT_EQ(topic->title, c.title);
        ASSERT_GE(topic->paragraphs.size(), 2u);
        EXPECT_EQ(topic->paragraphs[0], c.label) << "a pop-up starts with its control's label";
        EXPECT_NE(topic->text().find(c.phrase), std::string::npos) << topic->text();
        EXPECT_GT(topic->paragraphs[1].size(), 20u);
    }
}

} // namespace

// localtree_test.cpp - cddb_query_local on trees of both layouts: found,
// not found, no tree (-2), a damaged entry or range file (-3), texts of
// ISO-8859-1 and UTF-8 files in the ANSI code page; and the export and
// import calls: entries written into a tree of either layout, listed and
// read back the same, entry files, the submission file and its subject.
#include "tests/libplatter/cddb/cddbtest.h"
#include "harness/harness.h"

#include <map>

namespace {

using namespace cddbtest;

std::string entryText(const std::string &dtitle, uint32_t id = kExactId)
{
    char ids[16];
    snprintf(ids, sizeof ids, "%08x", (unsigned)id);
    return "# xmcd\n#\n# Track frame offsets:\n#\t150\n#\t18000\n#\t36000\n#\n# Disc length: 720 seconds\n#\n"
           "# Revision: 4\n#\nDISCID=" + std::string(ids) + "\nDTITLE=" + dtitle +
           "\nDYEAR=\nDGENRE=\nTTITLE0=One\nTTITLE1=Two\nTTITLE2=Three\nEXTD=Line\\nNext\nEXTT0=\nEXTT1=\nEXTT2=\n"
           "PLAYORDER=\n";
}

struct TreeCase {
    const char *name;
    std::map<std::string, std::string> files; // relative path -> bytes
    int result;
    const char *artist, *title, *category;
};

void PrintTo(const TreeCase &c, std::ostream *os) { *os << c.name; }

class LocalTree : public ::testing::TestWithParam<TreeCase> {};

TEST_P(LocalTree, QueryResult)
{
    const TreeCase &c = GetParam();
    ASSERT_EQ(1252u, GetACP()) << "the expected texts are those of code page 1252";
    std::string root = harness::scratchFolder() + "\\tree";
    for (auto &file : c.files)
        writeTreeFile(root, file.first, file.second);
    cddb_handle_t h = cddb_init("Spindle2", "v3.00", "test");
    ASSERT_NE(0u, h);
    cddb_set_local_root(h, c.files.empty() ? (root + "\\missing").c_str() : root.c_str());
    setDisc(h, kExactDisc);
    EXPECT_EQ(c.result, cddb_query_local(h));
    if (c.result > 0) {
        EXPECT_EQ(c.artist, text(cddb_get_artist(h)));
        EXPECT_EQ(c.title, text(cddb_get_title(h)));
        EXPECT_EQ(c.category, text(cddb_get_category_name(h)));
        EXPECT_EQ("Line\r\nNext", text(cddb_get_ext_title(h)));
        EXPECT_EQ("Three", text(cddb_get_track_title(h, 3)));
        EXPECT_EQ("<null>", text(cddb_get_track_title(h, 4)));
        EXPECT_EQ("<null>", text(cddb_get_ext_track_title(h, 1)));
        EXPECT_EQ(4, cddb_get_rev_number(h));
        EXPECT_EQ(kExactId, cddb_get_id(h));
    }
    cddb_cleanup(h);
}

const std::string kOther = entryText("Other / Disc", 0x10aabb03);

INSTANTIATE_TEST_SUITE_P(
    Trees, LocalTree,
    ::testing::Values(
        TreeCase{"FilesLayoutFound", {{"misc\\10aabb03", kOther}, {"rock\\1402ce03", entryText("Artist / Title")}},
                 1, "Artist", "Title", "rock"},
        TreeCase{"WindowsLayoutFound",
                 {{"jazz\\00to1f", "#FILENAME=10aabb03\n" + kOther + "#FILENAME=1402ce03\n" +
                                       entryText("Range / File") + "#FILENAME=1fffff03\n" + kOther},
                  {"jazz\\20to3f", "#FILENAME=2a000003\n" + kOther}},
                 1, "Range", "File", "jazz"},
        TreeCase{"NotInTree", {{"rock\\10aabb03", kOther}, {"jazz\\00to1f", "#FILENAME=10aabb03\n" + kOther}}, -1,
                 "", "", ""},
        TreeCase{"EmptyCategoryFoldersAreATree", {{"rock\\readme.txt", "not an entry"}}, -1, "", "", ""},
        TreeCase{"NoCategoryFolders", {{"notes.txt", "hello"}, {"photos\\cat.jpg", "jpeg"}}, -2, "", "", ""},
        TreeCase{"RootMissing", {}, -2, "", "", ""},
        TreeCase{"DamagedEntryFile", {{"rock\\1402ce03", "# xmcd\nDISCID=1402ce03\nno equals sign here\n"}}, -3,
                 "", "", ""},
        TreeCase{"EntryAnnouncingMoreTracks",
                 {{"rock\\1402ce03", "# xmcd\n# Track frame offsets:\n# 150\n# 18000\n# 36000\n#\n"
                                     "DISCID=1402ce03\nDTITLE=A / B\nTTITLE0=only one\n"}},
                 -3, "", "", ""},
        TreeCase{"DamagedRangeFile", {{"rock\\00to1f", "garbage before\n#FILENAME=1402ce03\n" + kOther}}, -3, "",
                 "", ""},
        TreeCase{"Latin1File", {{"rock\\1402ce03", entryText("Caf\xE9 / \xC0 la carte")}}, 1, "Caf\xE9",
                 "\xC0 la carte", "rock"},
        TreeCase{"Utf8FileToCodePage",
                 {{"rock\\1402ce03", entryText("Caf\xC3\xA9 \xE2\x82\xAC / \xCE\xA9mega \xE6\x97\xA5")}}, 1,
                 "Caf\xE9 \x80", "?mega ?", "rock"}));

class LocalTreeExport : public ::testing::TestWithParam<int> {};

// What Rackfile's export and import do: entries written into a tree, the
// tree listed, each entry read back with its disc.
TEST_P(LocalTreeExport, WrittenListedAndReadBack)
{
    int layout = GetParam();
    std::string root = harness::scratchFolder() + "\\export";
    const std::vector<std::vector<int>> discs = {kExactDisc, {150, 20000, 40000, 60000, 80000}, {183, 30000, 44999}};
    for (size_t d = 0; d < discs.size(); ++d) {
        cddb_handle_t h = cddb_init("Rackfile", "v3.00", "test");
        setDisc(h, discs[d]);
        ASSERT_EQ(1, cddb_set_category_name(h, d == 1 ? "jazz" : "rock"));
        cddb_set_artist(h, ("Artist " + std::to_string(d)).c_str());
        cddb_set_title(h, "Title \xE9\x80");
        cddb_set_ext_title(h, "Two\r\nlines");
        cddb_set_track_title(h, 1, "First");
        cddb_set_ext_track_title(h, 2, "A note");
        const int order[] = {2, 1};
        cddb_set_play_order(h, 2, order);
        cddb_set_rev_number(h, 5);
        EXPECT_EQ(1, cddb_write_local_entry(h, root.c_str(), layout)) << d;
        // Written twice: the second replaces the first.
        EXPECT_EQ(1, cddb_write_local_entry(h, root.c_str(), layout)) << d;
        cddb_cleanup(h);
    }
    if (layout == PLATTER_CDDB_LAYOUT_FILES)
        EXPECT_TRUE(harness::fileExists(root + "\\rock\\1402ce03"));
    else
        EXPECT_TRUE(harness::fileExists(root + "\\rock\\00to1f"));

    cddb_handle_t h = cddb_init("Rackfile", "v3.00", "test");
    cddb_set_local_root(h, root.c_str());
    ASSERT_EQ(3, cddb_list_local(h));
    std::map<uint32_t, int> seen;
    for (int i = 1; i <= 3; ++i) {
        ASSERT_EQ(1, cddb_read_local_entry(h, i)) << i;
        uint32_t id = cddb_get_id(h);
        int tracks = cddb_get_num_tracks(h);
        seen[id] = tracks;
        EXPECT_EQ("Title \xE9\x80", text(cddb_get_title(h)));
        EXPECT_EQ("Two\r\nlines", text(cddb_get_ext_title(h)));
        EXPECT_EQ("First", text(cddb_get_track_title(h, 1)));
        EXPECT_EQ("A note", text(cddb_get_ext_track_title(h, 2)));
        EXPECT_EQ(5, cddb_get_rev_number(h));
        ASSERT_EQ(2, cddb_get_num_play_order(h));
        EXPECT_EQ(2, cddb_get_play_order_track(h, 1));
        int m = -1, s = -1, f = -1;
        EXPECT_EQ(1, cddb_get_track_time(h, 2, &m, &s, &f));
        if (tracks == 3 && id == kExactId) {
            EXPECT_EQ("Artist 0", text(cddb_get_artist(h)));
            EXPECT_EQ("rock", text(cddb_get_category_name(h)));
            EXPECT_EQ(18000, m * 4500 + s * 75 + f);
            EXPECT_EQ(1, cddb_get_track_time(h, 4, &m, &s, &f));
            EXPECT_EQ(54000, m * 4500 + s * 75 + f);
        }
    }
    EXPECT_EQ(3u, seen.size());
    EXPECT_EQ(3, seen[kExactId]);
    EXPECT_EQ(PLATTER_CDDB_NOT_READY, cddb_read_local_entry(h, 4));
    cddb_cleanup(h);
}

INSTANTIATE_TEST_SUITE_P(Layouts, LocalTreeExport,
                         ::testing::Values(PLATTER_CDDB_LAYOUT_FILES, PLATTER_CDDB_LAYOUT_WINDOWS));

TEST(CddbEntryFiles, SubmissionFileAndSubject)
{
    std::string folder = harness::scratchFolder();
    cddb_handle_t h = cddb_init("Spindle2", "v3.00", "test");
    char subject[84] = "untouched";
    EXPECT_EQ(PLATTER_CDDB_NOT_READY, cddb_write_submit_subject(h, subject, sizeof subject));
    EXPECT_STREQ("", subject);
    EXPECT_EQ(1, cddb_set_category_name(h, "rock"));
    EXPECT_EQ(0, cddb_set_category_name(h, "no spaces allowed"));
    EXPECT_EQ(1, cddb_set_rev_number(h, 1));
    EXPECT_EQ(1, cddb_set_artist(h, "Caf\xE9"));
    EXPECT_EQ(1, cddb_set_title(h, nullptr));
    EXPECT_EQ(1, cddb_set_ext_title(h, "a\r\nb"));
    EXPECT_EQ(PLATTER_CDDB_NOT_READY, cddb_write_submit_file(h, (folder + "\\early").c_str()));
    setDisc(h, kExactDisc);
    EXPECT_EQ(1, cddb_set_track_title(h, 1, "One"));
    EXPECT_EQ(1, cddb_set_ext_track_title(h, 3, "Last"));
    EXPECT_EQ(0, cddb_set_track_title(h, 4, "beyond the disc"));
    std::string file = folder + "\\spd1.tmp";
    ASSERT_EQ(1, cddb_write_submit_file(h, file.c_str()));
    EXPECT_EQ("# xmcd\n#\n# Track frame offsets:\n#\t150\n#\t18000\n#\t36000\n#\n# Disc length: 720 seconds\n#\n"
              "# Revision: 1\n# Submitted via: Spindle2 v3.00\n#\nDISCID=1402ce03\nDTITLE=Caf\xC3\xA9 / \n"
              "DYEAR=\nDGENRE=\nTTITLE0=One\nTTITLE1=\nTTITLE2=\nEXTD=a\\nb\nEXTT0=\nEXTT1=\nEXTT2=Last\n"
              "PLAYORDER=\n",
              harness::readFile(file));
    EXPECT_EQ(1, cddb_write_submit_subject(h, subject, sizeof subject));
    EXPECT_STREQ("cddb rock 1402ce03", subject);
    char small[10];
    EXPECT_EQ(PLATTER_CDDB_NOT_READY, cddb_write_submit_subject(h, small, sizeof small));

    // The same entry as a plain entry file, read into another handle.
    std::string entryFile = folder + "\\entry.xmcd";
    ASSERT_EQ(1, cddb_write_entry_file(h, entryFile.c_str()));
    cddb_handle_t other = cddb_init("Rackfile", "v3.00", "test");
    EXPECT_EQ(1, cddb_read_entry_file(other, entryFile.c_str()));
    EXPECT_EQ("Caf\xE9", text(cddb_get_artist(other)));
    EXPECT_EQ("a\r\nb", text(cddb_get_ext_title(other)));
    EXPECT_EQ(3, cddb_get_num_tracks(other));
    uint32_t a = 0, b = 0;
    EXPECT_EQ(1, cddb_get_win_id(h, &a));
    EXPECT_EQ(1, cddb_get_win_id(other, &b));
    EXPECT_EQ(a, b);
    EXPECT_EQ(PLATTER_CDDB_FILE_ERROR, cddb_read_entry_file(other, (folder + "\\missing").c_str()));
    std::string notEntry = folder + "\\not-an-entry.txt";
    cddbtest::writeTreeFile(folder, "not-an-entry.txt", "just some words\n");
    EXPECT_EQ(PLATTER_CDDB_ILLEGAL_FILE, cddb_read_entry_file(other, notEntry.c_str()));
    cddb_cleanup(other);
    cddb_cleanup(h);
}

// A handle that was never made or was cleaned up fails every call.
TEST(CddbHandles, DeadHandlesFailSafely)
{
    cddb_handle_t gone = cddb_init("Spindle2", "v3.00", "test");
    ASSERT_NE(0u, gone);
    EXPECT_EQ(1, cddb_cleanup(gone));
    for (cddb_handle_t h : {(cddb_handle_t)0, gone, (cddb_handle_t)0xDEADBEEF}) {
        char subject[84] = "x";
        int tracks[] = {1};
        uint32_t winId = 7;
        EXPECT_EQ(0, cddb_cleanup(h));
        EXPECT_EQ(0, cddb_set_local_root(h, "C:\\"));
        EXPECT_EQ(0, cddb_set_server_info(h, "127.0.0.1", 888));
        EXPECT_EQ(0, cddb_set_proxy_target(h, "x"));
        EXPECT_EQ(0, cddb_set_num_tracks(h, 3));
        EXPECT_EQ(0, cddb_set_track_time(h, 1, 0, 2, 0));
        EXPECT_EQ(0, cddb_set_artist(h, "a"));
        EXPECT_EQ(0, cddb_set_track_title(h, 1, "a"));
        EXPECT_EQ(0, cddb_set_id(h, 1));
        EXPECT_EQ(0, cddb_set_play_order(h, 1, tracks));
        EXPECT_EQ(nullptr, cddb_get_artist(h));
        EXPECT_EQ(nullptr, cddb_get_track_title(h, 1));
        EXPECT_EQ(nullptr, cddb_get_fuzzy_title(h, 1));
        EXPECT_EQ(nullptr, cddb_get_server_list_name(h, 1));
        EXPECT_EQ(nullptr, cddb_get_category_list_name(h, 1));
        EXPECT_EQ(0, cddb_get_num_fuzzy(h));
        EXPECT_EQ(0u, cddb_get_id(h));
        EXPECT_EQ(0, cddb_get_win_id(h, &winId));
        EXPECT_EQ(0, cddb_query_local(h));
        EXPECT_EQ(0, cddb_query_remote(h));
        EXPECT_EQ(0, cddb_fetch_remote(h));
        EXPECT_EQ(0, cddb_fetch_server_list(h));
        EXPECT_EQ(0, cddb_fetch_category_list(h));
        EXPECT_EQ(0, cddb_list_local(h));
        EXPECT_EQ(0, cddb_write_submit_file(h, "C:\\never"));
        EXPECT_EQ(0, cddb_write_submit_subject(h, subject, sizeof subject));
        EXPECT_STREQ("", subject);
    }
    // Out-of-range numbers on a live handle fail too.
    cddb_handle_t h = cddb_init("Spindle2", "v3.00", "test");
    EXPECT_EQ(0, cddb_set_num_tracks(h, 0));
    EXPECT_EQ(0, cddb_set_num_tracks(h, 100));
    EXPECT_EQ(1, cddb_set_num_tracks(h, 2));
    EXPECT_EQ(0, cddb_set_track_time(h, 4, 0, 2, 0));
    EXPECT_EQ(0, cddb_set_track_time(h, 1, 0, 60, 0));
    EXPECT_EQ(0, cddb_set_track_time(h, 1, 0, 2, 75));
    EXPECT_EQ(PLATTER_CDDB_NOT_READY, cddb_query_local(h)); // positions unset
    EXPECT_EQ(nullptr, cddb_get_track_title(h, 0));
    EXPECT_EQ(nullptr, cddb_get_fuzzy_artist(h, 1));
    cddb_cleanup(h);
}

} // namespace

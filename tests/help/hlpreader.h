// hlpreader.h - a small reader of WinHelp 3.1 files for the tests: the
// internal file system and its directory, |SYSTEM, |CONTEXT, |CTXOMAP,
// |TTLBTREE, |FONT, and the topics of |TOPIC decoded to text and links.
// It is written from the file format's public description, apart from the
// tool that writes Spindle2.hlp, so that the two check each other.
#ifndef TESTS_HELP_HLPREADER_H
#define TESTS_HELP_HLPREADER_H

#include <cstdint>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

namespace hlp {

// A fault in the file, with what and where.
struct FormatError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// A hotspot: a jump to a topic or a pop-up of one, by context hash.
struct Hotspot {
    bool popup;
    uint32_t hash;
    std::string text;   // the words to click
};

struct Topic {
    uint32_t offset = 0;                 // TOPICOFFSET of the topic
    uint32_t position = 0;               // TOPICPOS of its header
    std::string title;
    std::vector<std::string> paragraphs; // text as shown, in the Windows code page
    std::vector<Hotspot> hotspots;
    // The paragraphs joined by single blanks, tabs and breaks as blanks.
    std::string text() const;
};

struct Font {
    std::string face;
    int halfPoints = 0;
    bool bold = false;
};

class HelpFile {
public:
    // Reads and checks the whole file; throws FormatError.
    explicit HelpFile(const std::string &bytes);

    // Directory: internal file names in their stored order, and contents.
    std::vector<std::string> fileNames;
    std::string internalFile(const std::string &name) const;

    int minorVersion = 0;
    int systemFlags = 0;
    std::string title;
    std::string copyright;
    uint32_t contentsOffset = 0xFFFFFFFF;

    std::vector<Font> fonts;
    std::vector<Topic> topics;                    // in file order
    std::map<uint32_t, uint32_t> helpIds;         // |CTXOMAP: id -> offset
    std::map<uint32_t, uint32_t> contexts;        // |CONTEXT: hash -> offset
    std::map<uint32_t, std::string> titleTree;    // |TTLBTREE: offset -> title

    // The topic starting at this offset; null when none does.
    const Topic *topicAt(uint32_t offset) const;
    // The topic a context hash names through |CONTEXT; null when none.
    const Topic *topicByHash(uint32_t hash) const;

private:
    std::string bytes_;
    std::map<std::string, uint32_t> directory_;
    void readSystem();
    void readFonts();
    void readTopics();
};

// The viewer's hash of a context string.
uint32_t contextHash(const std::string &name);

// Reads a whole file; throws FormatError when it cannot.
std::string readFileBytes(const std::string &path);

} // namespace hlp

#endif

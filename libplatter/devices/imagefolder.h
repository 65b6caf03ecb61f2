// imagefolder.h - the disc a virtual drive's folder describes: finds the
// description (the first *.cue by name, else the first *.toc), parses it
// when it or one of its data files has changed, and stamps each version so
// that a change is a new disc. The folder is searched again only when its
// entries change (its own stamp), and a description that is no disc is
// parsed again only when it, the folder or a file it named changes.
#ifndef LIBPLATTER_DEVICES_IMAGEFOLDER_H
#define LIBPLATTER_DEVICES_IMAGEFOLDER_H

#include "libplatter/devices/discimage.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace devices {

struct FolderDisc {
    bool described = false; // a description file is there
    bool valid = false;     // and it describes a disc
    uint64_t stamp = 0;     // changes with the description and its data files; 0 when none
    std::string description; // the description's file name
    std::string problem;     // why it is no disc
    std::shared_ptr<const DiscImage> image;
};

class ImageFolder {
public:
    explicit ImageFolder(const std::string &root);
    // Looks at the folder again; parses only when something changed.
    const FolderDisc &refresh();
    const FolderDisc &current() const { return disc_; }
    const std::string &root() const { return root_; }
    // Full path of a file the description names.
    std::string pathOf(const std::string &name) const;
    // How often the folder was searched for its description and how often
    // a description was read and parsed (for tests: both cost real work).
    int searches() const { return searches_; }
    int loads() const { return loads_; }

private:
    bool findDescription(std::string *name, bool *isCue) const;
    uint64_t dataStamp(const DiscImage &image) const;
    uint64_t probedFilesStamp() const;
    void load(const std::string &name, bool isCue, uint64_t descriptionStamp);

    std::string root_; // ends with a backslash
    FolderDisc disc_;
    uint64_t descriptionStamp_ = 0;
    uint64_t dataStamp_ = 0;
    uint64_t folderStamp_ = 0;   // the folder as it was at the last search; 0: search again
    bool found_ = false;         // what that search found
    std::string foundName_;
    bool foundIsCue_ = false;
    std::vector<std::string> probed_; // the data files a failed parse looked at
    uint64_t probedStamp_ = 0;
    mutable int searches_ = 0;
    int loads_ = 0;
};

// Bounded whole-file read; false when the file cannot be read or is larger.
bool readSmallFile(const std::string &path, size_t maxBytes, std::string *text);

} // namespace devices

#endif

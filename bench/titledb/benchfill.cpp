// benchfill.cpp - benchmark databases, written in large pieces.
#include "bench/titledb/benchfill.h"
#include "libplatter/titledb/recordformat.h"

#include <windows.h>

namespace bench {

std::string DiscMaker::words(int minLength, int maxLength)
{
    static const char *const vocabulary[] = {"love", "night", "blue", "river", "song", "of", "the", "light",
                                             "heart", "road", "home", "dance", "city", "rain", "gold", "fire",
                                             "morning", "stone", "wild", "dream", "and", "a", "in", "sea"};
    std::uniform_int_distribution<int> length(minLength, maxLength);
    std::uniform_int_distribution<size_t> pick(0, sizeof vocabulary / sizeof vocabulary[0] - 1);
    int want = length(random_);
    std::string text;
    while ((int)text.size() < want) {
        if (!text.empty())
            text += ' ';
        std::string w = vocabulary[pick(random_)];
        if (text.empty())
            w[0] = (char)(w[0] - 'a' + 'A');
        text += w;
    }
    text.resize((size_t)want);
    return text;
}

void DiscMaker::make(TitleRecord *r)
{
    const int tracks = 15;
    std::uniform_int_distribution<int> percent(0, 99);
    artist_ = words(8, 30);
    title_ = words(10, 40);
    bool hasText = percent(random_) < 30;
    text_ = hasText ? words(60, 160) + "\r\n" + words(20, 90) : std::string();
    titles_.resize(tracks);
    texts_.resize(tracks);
    titlePtrs_.assign(tracks, nullptr);
    textPtrs_.assign(tracks, nullptr);
    frames_.assign(tracks + 1, 0);
    int32_t frame = 150;
    for (int i = 0; i < tracks; ++i) {
        frames_[i] = frame;
        frame += 9000 + percent(random_) * 250;
        titles_[i] = words(6, 35);
        titlePtrs_[i] = &titles_[i][0];
        if (percent(random_) < 20) {
            texts_[i] = words(30, 150);
            textPtrs_[i] = &texts_[i][0];
        }
    }
    frames_[tracks] = frame;
    program_.clear();
    if (percent(random_) < 10)
        for (int i = 0; i < 12; ++i)
            program_.push_back(1 + percent(random_) % tracks);

    *r = TitleRecord{};
    r->cddbEntry = percent(random_) < 60;
    r->revision = percent(random_) % 5;
    r->submitted = 0;
    r->artist = &artist_[0];
    r->discTitle = &title_[0];
    r->discText = hasText ? &text_[0] : nullptr;
    r->trackCount = tracks;
    r->trackStartFrames = frames_.data();
    r->trackTitles = titlePtrs_.data();
    r->trackTexts = textPtrs_.data();
    r->programLength = (int32_t)program_.size();
    r->programList = program_.empty() ? nullptr : program_.data();
}

FillResult fillDatabase(const std::string &path, uint32_t entries, double reclaimableShare, uint32_t seed)
{
    FillResult result;
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return result;
    std::vector<uint8_t> out(titledb::kFileHeaderSize);
    titledb::encodeFileHeader(0x0123456789ABCDEFull ^ seed ^ entries, out.data());
    std::vector<uint8_t> payload;
    DiscMaker maker(seed);
    std::mt19937 pick(seed + 1);
    bool ok = true;
    auto flush = [&](bool force) {
        if (!ok || (!force && out.size() < (8u << 20)))
            return;
        DWORD put = 0;
        ok = WriteFile(file, out.data(), (DWORD)out.size(), &put, nullptr) && put == out.size();
        result.bytes += out.size();
        out.clear();
    };
    auto put = [&](uint32_t id, uint64_t *size) {
        TitleRecord record;
        maker.make(&record);
        titledb::EncodeError error;
        titledb::encodeTitle(record, &payload, &error);
        size_t before = out.size();
        titledb::frameRecord(titledb::KindEntry, id, payload.data(), (uint32_t)payload.size(), &out);
        *size = out.size() - before;
        flush(false);
    };
    std::vector<uint64_t> sizes(entries);
    uint64_t live = 0;
    for (uint32_t i = 0; i < entries; ++i) {
        put(discId(i), &sizes[i]);
        live += sizes[i];
    }
    // Rewrites of random discs: each one makes the older version reclaimable.
    std::uniform_int_distribution<uint32_t> which(0, entries - 1);
    uint64_t dead = 0;
    while ((double)dead < reclaimableShare * (double)(titledb::kFileHeaderSize + live + dead)) {
        uint32_t i = which(pick);
        uint64_t size = 0;
        put(discId(i), &size);
        dead += sizes[i];
        live += size - sizes[i];
        sizes[i] = size;
    }
    flush(true);
    ok = ok && FlushFileBuffers(file);
    CloseHandle(file);
    result.ok = ok;
    result.reclaimable = dead;
    return result;
}

} // namespace bench

// crashscript.h - the scripted work of the title database's crash tests,
// shared by the test and its writer process: operation number i is the
// same in both, and so is the database it leaves after operations 0..i-1.
// Writes of discs new and old (some with long notes), deletions of discs
// that have an entry, and a compaction every eighth operation.
#ifndef TESTS_LIBPLATTER_TITLEDB_CRASHSCRIPT_H
#define TESTS_LIBPLATTER_TITLEDB_CRASHSCRIPT_H

#include "tests/libplatter/titledb/titledata.h"

#include <cstdint>
#include <iterator>
#include <map>
#include <string>

namespace titletest {

struct CrashOp {
    enum Kind { Write, Delete, Compact } kind;
    uint32_t winId;
    TitleData data; // Write
};

using CrashModel = std::map<uint32_t, TitleData>;

constexpr uint32_t kCrashFirstId = 0x3A0C4E01;
constexpr uint32_t kCrashIdCount = 13;

inline CrashOp crashOpAt(uint32_t i, const CrashModel &before)
{
    if (i % 8 == 7)
        return {CrashOp::Compact, 0, {}};
    if (i % 5 == 2 && !before.empty()) {
        auto it = before.begin();
        std::advance(it, (i * 3) % before.size());
        return {CrashOp::Delete, it->first, {}};
    }
    uint32_t id = kCrashFirstId + (i * 7) % kCrashIdCount;
    TitleData d = sampleTitle(id, "run " + std::to_string(i));
    if (i % 11 == 4)
        d.discText = std::string(6000 + i % 97, (char)('a' + i % 26));
    return {CrashOp::Write, id, d};
}

inline void applyCrashOp(const CrashOp &op, CrashModel *model)
{
    if (op.kind == CrashOp::Write)
        (*model)[op.winId] = op.data;
    else if (op.kind == CrashOp::Delete)
        model->erase(op.winId);
}

// The database after operations 0..count-1.
inline CrashModel crashModelAfter(uint32_t count)
{
    CrashModel model;
    for (uint32_t i = 0; i < count; ++i)
        applyCrashOp(crashOpAt(i, model), &model);
    return model;
}

} // namespace titletest

#endif

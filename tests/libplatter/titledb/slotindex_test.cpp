// slotindex_test.cpp - the index's hash table against std::map under a
// long run of random stores, replacements and removals, including keys that
// crowd into the same probe runs.
#include "libplatter/titledb/slotindex.h"

#include <gtest/gtest.h>

#include <map>
#include <random>

using titledb::Slot;
using titledb::SlotIndex;

TEST(TitleDbSlotIndex, BehavesLikeAMapUnderRandomChanges)
{
    for (uint32_t keySpace : {40u, 5000u, 0xFFFFFFFFu}) {
        SCOPED_TRACE(keySpace);
        SlotIndex index;
        std::map<uint32_t, Slot> reference;
        std::mt19937 random(keySpace);
        for (int step = 0; step < 60000; ++step) {
            // Multiples of 2^20 share their low bits: a weak hash would pile them up.
            uint32_t key = (uint32_t)(random() % keySpace) * (keySpace == 40u ? (1u << 20) : 1u);
            Slot seen = {};
            if (random() % 3 == 0) {
                bool had = reference.erase(key) > 0;
                ASSERT_EQ(had, index.erase(key, &seen)) << step;
            } else {
                Slot slot = {(uint32_t)step, 36u + (uint32_t)(random() % 100), random() % 7 == 0};
                auto it = reference.find(key);
                bool had = it != reference.end();
                Slot before = had ? it->second : Slot{};
                reference[key] = slot;
                ASSERT_EQ(had, index.put(key, slot, &seen)) << step;
                if (had) {
                    ASSERT_EQ(before.offset, seen.offset) << step;
                }
            }
            ASSERT_EQ(reference.size(), index.size()) << step;
        }
        for (const auto &kv : reference) {
            const Slot *found = index.find(kv.first);
            ASSERT_NE(nullptr, found) << kv.first;
            EXPECT_EQ(kv.second.offset, found->offset);
            EXPECT_EQ(kv.second.length, found->length);
            EXPECT_EQ(kv.second.damaged, found->damaged);
        }
        size_t visited = 0;
        index.forEach([&](uint32_t key, const Slot &slot) {
            ++visited;
            auto it = reference.find(key);
            ASSERT_NE(reference.end(), it);
            EXPECT_EQ(it->second.offset, slot.offset);
        });
        EXPECT_EQ(reference.size(), visited);
        EXPECT_EQ(nullptr, index.find(keySpace == 40u ? 41u << 20 : 0xFFFFFFFEu)) << "never stored";
    }
}

TEST(TitleDbSlotIndex, EmptyAndClearedIndexFindsNothing)
{
    SlotIndex index;
    Slot seen;
    EXPECT_EQ(nullptr, index.find(0));
    EXPECT_FALSE(index.erase(0, &seen));
    EXPECT_FALSE(index.put(0, Slot{32, 40, false}, &seen));
    ASSERT_NE(nullptr, index.find(0));
    EXPECT_EQ(32u, index.find(0)->offset);
    index.clear();
    EXPECT_EQ(0u, index.size());
    EXPECT_EQ(nullptr, index.find(0));
    index.reserve(1000);
    EXPECT_EQ(nullptr, index.find(0));
    EXPECT_FALSE(index.put(7, Slot{1, 36, true}, &seen));
    EXPECT_TRUE(index.find(7)->damaged);
}

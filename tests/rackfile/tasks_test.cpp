// tasks_test.cpp - the worker's tasks on their own: progress to the end,
// stopping at the next step, and how typed programs and CD Player orders
// are read.
#include "rackfile/cdplayerfile.h"
#include "rackfile/entryeditor.h"
#include "rackfile/taskrunner.h"
#include "tests/rackfile/rackfixture.h"

using namespace racktest;

namespace {

class RackTasks : public RackFixture {};

} // namespace

TEST_F(RackTasks, ProgressRunsToTheEndOrStopsTheTask)
{
    std::map<uint32_t, EntryData> discs = putDiscs(450);
    std::string tree = folder_ + "\\tree";
    struct Case {
        const char *what;
        TaskKind kind;
        int stopAfter; // steps reported before the task is told to stop; -1 never
    };
    const Case cases[] = {
        {"export to the end", TaskKind::Export, -1},
        {"export stopped", TaskKind::Export, 1},
        {"list to the end", TaskKind::Load, -1},
        {"list stopped", TaskKind::Load, 1},
        {"import stopped", TaskKind::Import, 3},
        {"import to the end", TaskKind::Import, -1},
    };
    std::string source = folder_;
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        if (c.kind == TaskKind::Import)
            useNewFolder();
        TaskRequest request;
        request.kind = c.kind;
        request.path = tree;
        int steps = 0, lastDone = 0, lastTotal = 0;
        TaskResult result;
        runTask(request, &result, [&](int done, int total) {
            ++steps;
            EXPECT_GT(done, lastDone) << "progress only grows";
            lastDone = done;
            lastTotal = total;
            return c.stopAfter < 0 || steps < c.stopAfter;
        });
        EXPECT_EQ(450, lastTotal);
        if (c.stopAfter < 0) {
            EXPECT_EQ(450, lastDone);
        } else {
            EXPECT_EQ(c.stopAfter, steps) << "no step after the stop";
        }
        switch (c.kind) {
        case TaskKind::Load:
            EXPECT_EQ(c.stopAfter < 0, result.listed);
            if (c.stopAfter < 0) {
                EXPECT_EQ(450u, result.rows.size());
            }
            break;
        default:
            EXPECT_EQ(c.stopAfter < 0 ? 450 : c.stopAfter, result.transfer.done);
            EXPECT_EQ(c.stopAfter >= 0, result.transfer.stopped);
            EXPECT_EQ(c.stopAfter >= 0,
                      exportSummary(result.transfer, tree).find("Stopped before the end.") != std::string::npos);
            break;
        }
    }
    EXPECT_EQ(450u, allEntries().size()) << "the second import took the rest";
}

TEST_F(RackTasks, ProgramsAsTypedAndAsTheCdPlayerKeepsThem)
{
    struct Typed {
        const char *text;
        int tracks;
        bool valid;
        std::vector<int32_t> program;
    };
    const Typed typed[] = {
        {"", 5, true, {}},           {"3 1 2", 5, true, {3, 1, 2}}, {" 5,5  1 ", 5, true, {5, 5, 1}},
        {"0", 5, false, {}},         {"6", 5, false, {}},           {"1 -2", 5, false, {}},
        {"2a", 5, false, {}},        {"0001", 5, false, {}},        {"1", 0, false, {}},
    };
    for (const Typed &t : typed) {
        SCOPED_TRACE(t.text);
        std::vector<int32_t> program = {99};
        EXPECT_EQ(t.valid, parseProgram(t.text, t.tracks, &program));
        if (t.valid) {
            EXPECT_EQ(t.program, program);
            EXPECT_EQ(t.program, [&] {
                std::vector<int32_t> again;
                parseProgram(programText(program), t.tracks, &again);
                return again;
            }()) << "shown as it is read";
        } else {
            EXPECT_EQ(std::vector<int32_t>({99}), program) << "left alone";
        }
    }

    struct Order {
        const char *order;
        int count, tracks;
        std::vector<int32_t> program;
    };
    const Order orders[] = {
        {"0 1 2 3", 4, 4, {}},            // the disc's own order: no program
        {"3 2 1 0", 4, 4, {4, 3, 2, 1}},
        {"0 1", 2, 4, {1, 2}},            // shorter than the disc
        {"2  0 1", 3, 4, {3}},            // two separators end the list
        {"0 1 2 3 0", 2, 4, {1, 2}},      // no more than numplay entries
        {"1 9 0", 3, 4, {2, 1}},          // off the disc: dropped
        {"", 3, 4, {}},
    };
    for (const Order &o : orders) {
        SCOPED_TRACE(o.order);
        EXPECT_EQ(o.program, programFromOrder(o.order, o.count, o.tracks));
    }
}

// The CDDB worker threads: one lookup and one submission at a time, and a
// shutdown while a worker runs that neither hangs nor lets the worker touch
// the released drive table.
#include "cddb/cddbfixture.h"

#include "cddb/lookup.h"
#include "cddb/submit.h"
#include "titles/titlerecord.h"

namespace {

using namespace cddbtest;

// An event a paused worker waits on, and one it sets when it got there.
struct Gate {
    HANDLE reached = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    HANDLE open = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    ~Gate()
    {
        SetEvent(open);
        CloseHandle(reached);
        CloseHandle(open);
    }
    std::function<void()> pause()
    {
        return [this] {
            SetEvent(reached);
            WaitForSingleObject(open, 20000);
        };
    }
    bool waitReached() { return WaitForSingleObject(reached, 10000) == WAIT_OBJECT_0; }
};

class Workers : public CddbTest {
protected:
    void SetUp() override
    {
        CddbTest::SetUp();
        load({{"D:", fake::audioDisc({180, 200}, 0x0D0D0D0D)}});
        setText(driveEntry(1)->title.artist, "Artist");
        options.cddbQueryLocal = 0;
        options.cddbQueryServer = 1;
        options.cddbQueryShowStatus = 0;
        options.cddbSubmitShowStatus = 0;
        fake::setResult("cddb_query_remote", 1);
        fake::setResult("cddb_write_submit_file", 1);
        fake::setResult("smtp_send", 1);
    }
    static bool logHas(const std::string &call)
    {
        for (const std::string &c : fake::calls())
            if (c == call)
                return true;
        return false;
    }
};

// A second lookup or a second submission is refused while the first runs;
// a submission may run beside a lookup; after the end messages both start again.
TEST_F(Workers, OneLookupAndOneSubmissionAtATime)
{
    Gate lookupGate, submitGate;
    fake::setPause("cddb_query_remote", lookupGate.pause());
    fake::setPause("smtp_send", submitGate.pause());

    ASSERT_EQ(startLookupWorker(1), 1);
    ASSERT_TRUE(lookupGate.waitReached());
    EXPECT_EQ(startLookupWorker(1), 0);
    EXPECT_EQ(startSubmitWorker(1, 1), 1);
    ASSERT_TRUE(submitGate.waitReached());
    EXPECT_EQ(startSubmitWorker(1, 1), 0);

    SetEvent(lookupGate.open);
    SetEvent(submitGate.open);
    EXPECT_TRUE(waitFor(queryDone()));
    EXPECT_TRUE(waitFor(submitDone()));
    EXPECT_EQ(startLookupWorker(1), 1);
    EXPECT_TRUE(waitFor(queryDone()));
    EXPECT_EQ(startSubmitWorker(1, 1), 1);
    EXPECT_TRUE(stopCddbWorkers(10000));
}

// Shutdown gives up waiting on a worker held in the library; once released,
// the worker finishes its calls but fills nothing and sends nothing.
TEST_F(Workers, ShutdownWhileALookupIsHeld)
{
    Gate gate;
    fake::setPause("cddb_query_remote", gate.pause());
    serveEntry("Late", "Entry", {"A", "B"});
    ASSERT_EQ(startLookupWorker(1), 1);
    ASSERT_TRUE(gate.waitReached());

    EXPECT_FALSE(stopCddbWorkers(200));
    closeDrives();
    EXPECT_EQ(startLookupWorker(1), 0);
    SetEvent(gate.open);

    EXPECT_TRUE(stopCddbWorkers(10000));
    EXPECT_TRUE(logHas("platter_net_cleanup()"));
    EXPECT_TRUE(fake::callsTo("cddb_get_artist").empty());
    EXPECT_TRUE(notes().empty());
}

// Shutdown answers a worker that is sending to the main window while the
// main thread waits for it, so neither waits on the other.
TEST_F(Workers, ShutdownWhileAWorkerSends)
{
    struct Case {
        const char *name;
        bool submission;
    } cases[] = {{"lookup", false}, {"submission", true}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        resetCddbSession();
        serveEntry("Artist", "Title", {"A", "B"});
        Gate gate;
        // The worker goes on at once; the test does not pump until it stops.
        fake::setPause(c.submission ? "smtp_send" : "cddb_query_remote", gate.pause());
        ASSERT_EQ(c.submission ? startSubmitWorker(1, 1) : startLookupWorker(1), 1);
        ASSERT_TRUE(gate.waitReached());
        SetEvent(gate.open);
        EXPECT_TRUE(stopCddbWorkers(10000));
        fake::setPause(c.submission ? "smtp_send" : "cddb_query_remote", nullptr);
    }
}

// A worker that waits in a message box of its own (no user is left to
// answer it) is answered Cancel by the shutdown, which then does not wait
// out its time.
TEST_F(Workers, ShutdownAnswersABoxAWorkerHolds)
{
    HANDLE shown = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    int answer = 0;
    fake::setPause("cddb_query_remote", [&] {
        SetEvent(shown);
        answer = MessageBoxA(nullptr, "Held", "Worker Box", MB_OK | MB_ICONERROR);
    });
    ASSERT_EQ(startLookupWorker(1), 1);
    ASSERT_EQ(WaitForSingleObject(shown, 10000), (DWORD)WAIT_OBJECT_0);

    EXPECT_TRUE(stopCddbWorkers(20000));
    EXPECT_EQ(answer, IDCANCEL);
    fake::setPause("cddb_query_remote", nullptr);
    CloseHandle(shown);
}

} // namespace

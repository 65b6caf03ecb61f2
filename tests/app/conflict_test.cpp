// The warning that another application drives the CD-ROM drive.
#include "ui/conflict.h"
#include "harness/harness.h"
#include "ui/msgbox.h"

namespace {

const char *const warningText =
    "Spindle2 has detected another application controlling\r\n the CD-ROM drive.  This can cause Spindle2 play "
    "operations\r\n to behave unpredictably.  Please exit the other application.";

TEST(ConflictWarning, ShowsOneSystemModalErrorBoxWithoutOwner)
{
    harness::MessageBoxRecorder boxes;
    EXPECT_EQ(conflictWarning(nullptr), 0u);
    ASSERT_EQ(boxes.count(), 1u);
    harness::Box box = boxes.boxes()[0];
    EXPECT_EQ(box.owner, nullptr);
    EXPECT_EQ(box.text, warningText);
    EXPECT_EQ(box.caption, "Spindle2 Error");
    EXPECT_EQ(box.flags, (UINT)(MB_SYSTEMMODAL | MB_ICONERROR));
}

TEST(ConflictWarning, RunsOnAThreadOfItsOwn)
{
    harness::MessageBoxRecorder boxes;
    DWORD mainThread = GetCurrentThreadId();
    DWORD boxThread = 0;
    setMessageHook([&](HWND, const char *, const char *, UINT) {
        boxThread = GetCurrentThreadId();
        return IDOK;
    });
    startConflictWarning();
    EXPECT_TRUE(harness::pumpUntil([&] { return boxThread != 0; }));
    EXPECT_NE(boxThread, mainThread);
}

} // namespace

// The single-instance guard across processes: the copies are instance_child.exe,
// started next to this test, each reporting what its guard decided.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "core/InstanceRules.h"
#include "core/Unicode.h"
#include "kit/Process.h"
#include "shell/adpInstanceControl.h"

using namespace support;

namespace {

std::wstring ChildPath()
{
    return BesideThisProgram(L"instance_child.exe").wstring();
}

std::wstring NameFor(const std::wstring& exePath)
{
    return Utf8ToWide(MappingName(WideToUtf8(exePath)));
}

// The shared record of the copies started from exePath, if any copy holds it.
std::optional<TInstanceRecord> ReadRecord(const std::wstring& exePath)
{
    HANDLE mapping = OpenFileMappingW(FILE_MAP_READ, FALSE, NameFor(exePath).c_str());
    if (!mapping)
        return std::nullopt;
    std::optional<TInstanceRecord> record;
    if (void* view = MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, sizeof(TInstanceRecord))) {
        TInstanceRecord copy;
        std::memcpy(&copy, view, sizeof copy);
        record = copy;
        UnmapViewOfFile(view);
    }
    CloseHandle(mapping);
    return record;
}

// The record of the copies started from exePath holds this count and, when
// given, the window of this last copy.
::testing::AssertionResult RecordHolds(uint32_t count, std::optional<uint32_t> last = std::nullopt,
                                       const std::wstring& exePath = ChildPath())
{
    const std::optional<TInstanceRecord> record = ReadRecord(exePath);
    if (!record)
        return ::testing::AssertionFailure() << "no copy holds the record";
    if (record->InstanceCount != count)
        return ::testing::AssertionFailure() << "the record counts " << record->InstanceCount << ", not " << count;
    if (last && record->LastInstanceHandle != *last)
        return ::testing::AssertionFailure() << "the record's last copy is " << record->LastInstanceHandle << ", not "
                                             << *last;
    return ::testing::AssertionSuccess();
}

std::wstring UniqueName(const wchar_t* what)
{
    static int counter = 0;
    return L"SnapquillGuardTest." + std::wstring(what) + L"." + std::to_wstring(GetCurrentProcessId()) + L"." +
           std::to_wstring(++counter);
}

// A named event the test sets to release or end a copy.
class TEvent {
public:
    explicit TEvent(const wchar_t* what) : name_(UniqueName(what))
    {
        handle_ = CreateEventW(nullptr, TRUE, FALSE, name_.c_str());
    }
    ~TEvent() { CloseHandle(handle_); }
    TEvent(const TEvent&) = delete;
    TEvent& operator=(const TEvent&) = delete;
    void Set() { SetEvent(handle_); }
    const std::wstring& Name() const { return name_; }

private:
    std::wstring name_;
    HANDLE handle_ = nullptr;
};

// What a copy reported after its check.
struct TOutcome {
    uint32_t own = 0;
    bool counted = false;
    uint32_t event = 0;
    int calls = -1;
    bool showMainForm = true;
    bool visible = true;
};

// One started copy, with its standard output read through a pipe.
class TChild {
public:
    TChild(const std::wstring& exePath, const std::wstring& arguments)
        : process_(exePath, arguments, {}, Output::Piped)
    {
    }

    bool Started() const { return process_.Started(); }
    // The next line the copy wrote; empty when it wrote no more.
    std::string ReadLine() { return process_.ReadLine(); }

    // Reads the report written after the check.
    TOutcome Outcome()
    {
        std::string line = ReadLine();
        std::map<std::string, unsigned long> values;
        std::istringstream fields(line);
        std::string field;
        while (fields >> field) {
            size_t equals = field.find('=');
            if (equals != std::string::npos)
                values[field.substr(0, equals)] = std::stoul(field.substr(equals + 1));
        }
        EXPECT_EQ(values.size(), 6u) << "report: " << line;
        TOutcome outcome;
        outcome.own = values["own"];
        outcome.counted = values["counted"] != 0;
        outcome.event = values["event"];
        outcome.calls = static_cast<int>(values["calls"]);
        outcome.showMainForm = values["showmain"] != 0;
        outcome.visible = values["visible"] != 0;
        return outcome;
    }

    // The exit code; a copy that does not end within a minute is a failure.
    DWORD WaitForExit()
    {
        DWORD code = 0;
        if (!process_.WaitForExit(60000, code)) {
            ADD_FAILURE() << "the copy did not end";
            process_.Terminate(99);
            GetExitCodeProcess(process_.Handle(), &code);
        }
        return code;
    }

private:
    ChildProcess process_;
};

std::wstring Args(uint32_t maxInstances, const TEvent* stay = nullptr, const std::wstring& more = L"")
{
    std::wstring args = L"--max " + std::to_wstring(maxInstances);
    if (stay)
        args += L" --stay " + stay->Name();
    if (!more.empty())
        args += L" " + more;
    return args;
}

class InstanceControl : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_NE(GetFileAttributesW(ChildPath().c_str()), INVALID_FILE_ATTRIBUTES);
        // No copy of an earlier case may still hold the record.
        ASSERT_FALSE(ReadRecord(ChildPath()).has_value());
    }
    void TearDown() override { EXPECT_FALSE(ReadRecord(ChildPath()).has_value()); }
};

TEST_F(InstanceControl, FirstCopyCreatesTheRecord)
{
    TEvent quit(L"quit");
    TChild first(ChildPath(), Args(1, &quit));
    ASSERT_TRUE(first.Started());
    TOutcome outcome = first.Outcome();
    EXPECT_TRUE(outcome.counted);
    EXPECT_EQ(outcome.calls, 0);
    EXPECT_TRUE(outcome.showMainForm);
    EXPECT_NE(outcome.own, 0u);

    EXPECT_TRUE(RecordHolds(1, outcome.own));

    quit.Set();
    EXPECT_EQ(first.WaitForExit(), 0u);
    // The record goes with the last copy.
    EXPECT_FALSE(ReadRecord(ChildPath()).has_value());
}

// A limit of 0 behaves like 1.
TEST_F(InstanceControl, SecondCopyWithMaxOneOrZeroIsRefused)
{
    for (uint32_t maxInstances : {1u, 0u}) {
        SCOPED_TRACE(maxInstances);
        TEvent quit(L"quit");
        TChild first(ChildPath(), Args(maxInstances, &quit));
        TOutcome a = first.Outcome();
        ASSERT_TRUE(a.counted);
        EXPECT_TRUE(RecordHolds(1, a.own));

        TChild second(ChildPath(), Args(maxInstances));
        TOutcome b = second.Outcome();
        EXPECT_FALSE(b.counted);
        EXPECT_EQ(b.calls, 1);
        EXPECT_EQ(b.event, a.own);
        EXPECT_NE(b.own, a.own);
        EXPECT_FALSE(b.showMainForm);
        EXPECT_FALSE(b.visible);
        // The refused copy's message loop ends with the quit message.
        EXPECT_EQ(second.WaitForExit(), 0u);
        EXPECT_TRUE(RecordHolds(1, a.own));

        quit.Set();
        EXPECT_EQ(first.WaitForExit(), 0u);
        EXPECT_FALSE(ReadRecord(ChildPath()).has_value());
    }
}

TEST_F(InstanceControl, MinimisedRunningCopyIsRestored)
{
    TEvent quit(L"quit");
    TChild first(ChildPath(), Args(1, &quit, L"--minimize"));
    TOutcome a = first.Outcome();
    ASSERT_TRUE(a.counted);
    HWND running = reinterpret_cast<HWND>(static_cast<uintptr_t>(a.own));
    ASSERT_TRUE(IsIconic(running));

    TChild second(ChildPath(), Args(1));
    TOutcome b = second.Outcome();
    EXPECT_FALSE(b.counted);
    EXPECT_EQ(second.WaitForExit(), 0u);
    EXPECT_FALSE(IsIconic(running));

    quit.Set();
    EXPECT_EQ(first.WaitForExit(), 0u);
}

TEST_F(InstanceControl, MaxTwoAdmitsTwoAndHandsOnTheLastOne)
{
    TEvent quitFirst(L"quit");
    TEvent quitSecond(L"quit");
    TChild first(ChildPath(), Args(2, &quitFirst));
    TOutcome a = first.Outcome();
    ASSERT_TRUE(a.counted);
    TChild second(ChildPath(), Args(2, &quitSecond));
    TOutcome b = second.Outcome();
    EXPECT_TRUE(b.counted);
    EXPECT_EQ(b.calls, 0);

    EXPECT_TRUE(RecordHolds(2, b.own));

    TChild third(ChildPath(), Args(2));
    TOutcome c = third.Outcome();
    EXPECT_FALSE(c.counted);
    EXPECT_EQ(c.event, b.own);
    EXPECT_EQ(third.WaitForExit(), 0u);
    EXPECT_TRUE(RecordHolds(2));

    // An ending copy gives back its count; the last handle stays.
    quitSecond.Set();
    EXPECT_EQ(second.WaitForExit(), 0u);
    EXPECT_TRUE(RecordHolds(1, b.own));

    quitFirst.Set();
    EXPECT_EQ(first.WaitForExit(), 0u);
}

TEST_F(InstanceControl, NewStartIsAdmittedAfterTheFirstCopyEnds)
{
    TEvent quitFirst(L"quit");
    TEvent quitRefused(L"quit");
    TEvent quitThird(L"quit");
    TChild first(ChildPath(), Args(1, &quitFirst));
    TOutcome a = first.Outcome();
    ASSERT_TRUE(a.counted);
    // The refused copy stays alive and keeps the record open.
    TChild refused(ChildPath(), Args(1, &quitRefused));
    TOutcome b = refused.Outcome();
    EXPECT_FALSE(b.counted);

    quitFirst.Set();
    EXPECT_EQ(first.WaitForExit(), 0u);
    EXPECT_TRUE(RecordHolds(0));

    TChild third(ChildPath(), Args(1, &quitThird));
    TOutcome c = third.Outcome();
    EXPECT_TRUE(c.counted);
    EXPECT_EQ(c.calls, 0);
    EXPECT_TRUE(RecordHolds(1, c.own));

    // A refused copy that ends gives nothing back.
    quitRefused.Set();
    EXPECT_EQ(refused.WaitForExit(), 0u);
    EXPECT_TRUE(RecordHolds(1));

    quitThird.Set();
    EXPECT_EQ(third.WaitForExit(), 0u);
}

TEST_F(InstanceControl, DisabledGuardCreatesAndCountsNothing)
{
    TEvent quitDisabled(L"quit");
    TChild disabled(ChildPath(), Args(1, &quitDisabled, L"--disabled"));
    TOutcome d = disabled.Outcome();
    EXPECT_TRUE(d.counted);
    EXPECT_EQ(d.calls, 0);
    EXPECT_FALSE(ReadRecord(ChildPath()).has_value());

    // Nor is a disabled copy refused, or counted, next to a counted one.
    TEvent quitFirst(L"quit");
    TChild first(ChildPath(), Args(1, &quitFirst));
    TOutcome a = first.Outcome();
    EXPECT_TRUE(a.counted);
    TChild another(ChildPath(), Args(1, nullptr, L"--disabled"));
    TOutcome e = another.Outcome();
    EXPECT_TRUE(e.counted);
    EXPECT_EQ(e.calls, 0);
    EXPECT_EQ(another.WaitForExit(), 0u);
    EXPECT_TRUE(RecordHolds(1, a.own));

    quitDisabled.Set();
    quitFirst.Set();
    EXPECT_EQ(disabled.WaitForExit(), 0u);
    EXPECT_EQ(first.WaitForExit(), 0u);
}

TEST_F(InstanceControl, CopyAtAnotherPathCountsSeparately)
{
    // A folder with a blank and a non-ASCII letter in its name.
    std::wstring folder = BesideThisProgram(L"other copy \u00e9").wstring();
    CreateDirectoryW(folder.c_str(), nullptr);
    std::wstring otherPath = folder + L"\\instance_child.exe";
    ASSERT_TRUE(CopyFileW(ChildPath().c_str(), otherPath.c_str(), FALSE));
    ASSERT_FALSE(ReadRecord(otherPath).has_value());

    {
        TEvent quitFirst(L"quit");
        TEvent quitOther(L"quit");
        TChild first(ChildPath(), Args(1, &quitFirst));
        TOutcome a = first.Outcome();
        EXPECT_TRUE(a.counted);
        TChild other(otherPath, Args(1, &quitOther));
        TOutcome b = other.Outcome();
        EXPECT_TRUE(b.counted);
        EXPECT_EQ(b.calls, 0);

        EXPECT_TRUE(RecordHolds(1, a.own));
        EXPECT_TRUE(RecordHolds(1, b.own, otherPath));

        quitFirst.Set();
        quitOther.Set();
        EXPECT_EQ(first.WaitForExit(), 0u);
        EXPECT_EQ(other.WaitForExit(), 0u);
    }
    DeleteFileW(otherPath.c_str());
    RemoveDirectoryW(folder.c_str());
}

TEST_F(InstanceControl, CopiesStartedTogetherAdmitExactlyOne)
{
    for (int round = 0; round < 5; ++round) {
        SCOPED_TRACE(round);
        TEvent start(L"start");
        TEvent quitA(L"quit");
        TEvent quitB(L"quit");
        TChild a(ChildPath(), Args(1, &quitA, L"--wait " + start.Name()));
        TChild b(ChildPath(), Args(1, &quitB, L"--wait " + start.Name()));
        ASSERT_EQ(a.ReadLine(), "ready");
        ASSERT_EQ(b.ReadLine(), "ready");
        start.Set();
        TOutcome ra = a.Outcome();
        TOutcome rb = b.Outcome();
        EXPECT_NE(ra.counted, rb.counted);
        EXPECT_TRUE(RecordHolds(1, ra.counted ? ra.own : rb.own));
        // The refused one was handed the admitted one's window.
        EXPECT_EQ(ra.counted ? rb.event : ra.event, ra.counted ? ra.own : rb.own);
        quitA.Set();
        quitB.Set();
        EXPECT_EQ(a.WaitForExit(), 0u);
        EXPECT_EQ(b.WaitForExit(), 0u);
    }
}

TEST(InstanceControlGuard, SecondGuardInOneProcessIsAnError)
{
    TadpInstanceControl first;
    EXPECT_EQ(TadpInstanceControl::Registered(), &first);
    EXPECT_TRUE(first.Enabled());
    EXPECT_EQ(first.MaxInstances(), 1u);
    EXPECT_FALSE(first.Refused());
    try {
        TadpInstanceControl second;
        FAIL() << "a second guard was accepted";
    } catch (const EInstanceControl& error) {
        EXPECT_STREQ(error.what(), "Only one copy of this component can be dropped on a form!");
    }
    // The first guard stays the registered one.
    EXPECT_EQ(TadpInstanceControl::Registered(), &first);
}

TEST(InstanceControlGuard, RegistrationEndsWithTheGuard)
{
    {
        TadpInstanceControl guard;
    }
    EXPECT_EQ(TadpInstanceControl::Registered(), nullptr);
    TadpInstanceControl again;
    EXPECT_EQ(TadpInstanceControl::Registered(), &again);
}

TEST(InstanceControlGuard, OSErrorCarriesCodeAndText)
{
    SetLastError(ERROR_ACCESS_DENIED);
    EOSError error = EOSError::FromLastError();
    EXPECT_EQ(error.ErrorCode(), static_cast<uint32_t>(ERROR_ACCESS_DENIED));
    EXPECT_EQ(error.Message().rfind("System Error.  Code: 5.\r\n", 0), 0u) << error.Message();
    SetLastError(0);
    EXPECT_STREQ(EOSError::FromLastError().what(), "A call to an OS function failed");
}

} // namespace

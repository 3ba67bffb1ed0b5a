// Many shots in a row: every one is written, and the program's handles and
// memory do not grow with their number.
#include <gtest/gtest.h>
#include <windows.h>

#include <psapi.h>

#include <algorithm>
#include <cstdio>

#include "tests/e2e/Support.h"

using namespace e2e;

namespace {

const int kShots = 200;
const int kBaselineShot = 20;
const int kFullScreenEvery = 10; // the other shots are of a small window
const SIZE_T kMemorySlack = 4 * 1024 * 1024;

struct Usage {
    DWORD handles = 0;
    SIZE_T privateBytes = 0;
    SIZE_T pagefileBytes = 0;
    DWORD gdiObjects = 0;
    DWORD userObjects = 0;
};

// The process's entries in the system's handle table
// (SystemExtendedHandleInformation); 0 when it cannot be read.
DWORD HandlesInSystemTable(DWORD processId)
{
    struct Entry {
        PVOID object;
        ULONG_PTR processId;
        ULONG_PTR handle;
        ULONG access;
        USHORT creatorBackTraceIndex;
        USHORT objectTypeIndex;
        ULONG attributes;
        ULONG reserved;
    };
    using Query = LONG(WINAPI*)(ULONG, PVOID, ULONG, PULONG);
    auto query = reinterpret_cast<Query>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQuerySystemInformation")));
    if (!query)
        return 0;
    const ULONG kExtendedHandleInformation = 64;
    const LONG kLengthMismatch = static_cast<LONG>(0xC0000004);
    std::vector<ULONG_PTR> buffer(1 << 14);
    for (;;) {
        ULONG needed = 0;
        const ULONG size = static_cast<ULONG>(buffer.size() * sizeof(ULONG_PTR));
        const LONG status = query(kExtendedHandleInformation, buffer.data(), size, &needed);
        if (status == kLengthMismatch) {
            buffer.resize(std::max<size_t>(buffer.size() * 2, needed / sizeof(ULONG_PTR) + 1));
            continue;
        }
        if (status != 0)
            return 0;
        break;
    }
    // The table: a count, a reserved word, then the entries.
    const ULONG_PTR count = buffer[0];
    const auto* entries = reinterpret_cast<const Entry*>(&buffer[2]);
    DWORD mine = 0;
    for (ULONG_PTR i = 0; i < count; ++i)
        if (entries[i].processId == processId)
            ++mine;
    return mine;
}

Usage UsageOf(HANDLE process, DWORD processId)
{
    Usage usage;
    // Wine answers GetProcessHandleCount with 0; its handle table still
    // tells.
    if (!GetProcessHandleCount(process, &usage.handles) || usage.handles == 0)
        usage.handles = HandlesInSystemTable(processId);
    PROCESS_MEMORY_COUNTERS_EX memory{};
    memory.cb = sizeof memory;
    if (K32GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory), sizeof memory)) {
        usage.privateBytes = memory.PrivateUsage;
        usage.pagefileBytes = memory.PagefileUsage;
    }
    usage.gdiObjects = GetGuiResources(process, GR_GDIOBJECTS);
    usage.userObjects = GetGuiResources(process, GR_USEROBJECTS);
    return usage;
}

void Print(int shot, const Usage& u)
{
    printf("after shot %3d: %lu handles, private %zu KB, pagefile %zu KB, GDI objects %lu, USER objects %lu\n", shot,
           static_cast<unsigned long>(u.handles), static_cast<size_t>(u.privateBytes / 1024),
           static_cast<size_t>(u.pagefileBytes / 1024), static_cast<unsigned long>(u.gdiObjects),
           static_cast<unsigned long>(u.userObjects));
    fflush(stdout);
}

uint64_t BmpSize(int width, int height)
{
    return 54 + uint64_t(BmpRowBytes(width, 32)) * height;
}

} // namespace

TEST(Soak, TwoHundredShotsInARowWithoutGrowing)
{
    ScratchFolder folder;
    Snapquill program(folder.Path());
    ASSERT_TRUE(program.Started()) << program.StartError();
    ASSERT_NE(program.WaitUntilReady(), nullptr) << "snapquill.exe did not come up";

    PatternWindow window({900, 120}, {60, 40}, WS_OVERLAPPEDWINDOW, 0);
    ASSERT_TRUE(window.MakeForeground());
    ASSERT_TRUE(window.WaitUntilOnScreen());
    const RECT rect = window.WindowRect();
    const int windowWidth = rect.right - rect.left, windowHeight = rect.bottom - rect.top;

    const fs::path file = folder.Path() / L"shot1.bmp";
    Usage baseline, last;
    for (int shot = 1; shot <= kShots; ++shot) {
        const bool fullScreen = shot % kFullScreenEvery == 0;
        int width = 1280, height = 800;
        if (fullScreen) {
            EXPECT_TRUE(PressKey(VK_SNAPSHOT));
        } else {
            ASSERT_TRUE(window.MakeForeground()) << "shot " << shot << ": the test window lost the foreground";
            EXPECT_TRUE(Press({VK_MENU, VK_SNAPSHOT}));
            width = windowWidth;
            height = windowHeight;
        }
        ASSERT_TRUE(WaitForFile(file)) << "shot " << shot << " wrote no file";
        ASSERT_EQ(folder.Entries(), std::vector<std::wstring>{L"shot1.bmp"}) << "shot " << shot;
        std::error_code error;
        EXPECT_EQ(fs::file_size(file, error), BmpSize(width, height)) << "shot " << shot;
        BmpInfo info;
        std::vector<uint8_t> header = ReadFileBytes(file);
        header.resize(std::min<size_t>(header.size(), 54));
        ASSERT_EQ(ReadBmpInfo(header, info), "") << "shot " << shot;
        EXPECT_EQ(info.width, width) << "shot " << shot;
        EXPECT_EQ(info.height, height) << "shot " << shot;
        ASSERT_TRUE(fs::remove(file, error)) << "shot " << shot << ": " << error.message();

        ASSERT_TRUE(program.WaitUntilSettled());
        if (fullScreen) {
            const Usage usage = UsageOf(program.Process(), program.Id());
            Print(shot, usage);
            if (shot == kBaselineShot)
                baseline = usage;
            last = usage;
        }
    }

    EXPECT_NE(baseline.handles, 0u) << "the handle count cannot be read";
    EXPECT_LE(last.handles, baseline.handles + 10);
    // Wine leaves PrivateUsage at 0; PagefileUsage is the committed memory
    // there too.
    EXPECT_NE(baseline.privateBytes + baseline.pagefileBytes, 0u) << "the memory use cannot be read";
    EXPECT_LE(last.privateBytes, baseline.privateBytes + kMemorySlack);
    EXPECT_LE(last.pagefileBytes, baseline.pagefileBytes + kMemorySlack);
    if (baseline.gdiObjects != 0 && last.gdiObjects != 0) {
        EXPECT_LE(last.gdiObjects, baseline.gdiObjects + 10);
        EXPECT_LE(last.userObjects, baseline.userObjects + 10);
    } else {
        printf("GDI and USER object counts are not available here\n");
    }
}

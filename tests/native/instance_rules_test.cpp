#include <gtest/gtest.h>

#include <cstring>

#include "core/InstanceRules.h"

TEST(MappingName, DropsBackslashesAndBlanks)
{
    EXPECT_EQ(MappingName("C:\\Tools\\My App\\shot.exe"), "C:ToolsMyAppshot.exe");
    EXPECT_EQ(MappingName("  \\\\ "), "");
    EXPECT_EQ(MappingName(""), "");
}

TEST(MappingName, KeepsCaseAndOtherCharacters)
{
    EXPECT_EQ(MappingName("C:\\TOOLS\\Shot.EXE"), "C:TOOLSShot.EXE");
    EXPECT_NE(MappingName("C:\\Tools\\shot.exe"), MappingName("c:\\tools\\shot.exe"));
    EXPECT_EQ(MappingName("D:\\a/b\\c\td.exe"), "D:a/bc\td.exe");
    // UTF-8 text passes through byte for byte.
    EXPECT_EQ(MappingName("C:\\B\xC3\xBCro\\x y.exe"), "C:B\xC3\xBCroxy.exe");
}

TEST(InstanceRecord, IsEightBytesLittleEndian)
{
    TInstanceRecord record{0x11223344u, 0x00000002u};
    unsigned char bytes[8];
    std::memcpy(bytes, &record, sizeof bytes);
    const unsigned char expected[8] = {0x44, 0x33, 0x22, 0x11, 0x02, 0x00, 0x00, 0x00};
    EXPECT_EQ(std::memcmp(bytes, expected, sizeof bytes), 0);
}

TEST(AdmitInstance, FirstCopyCountsItselfWhateverTheLimit)
{
    TInstanceRecord record = FirstInstanceRecord(0x1234);
    EXPECT_EQ(record.LastInstanceHandle, 0x1234u);
    EXPECT_EQ(record.InstanceCount, 1u);
}

TEST(AdmitInstance, MaxOneRefusesTheSecond)
{
    TInstanceRecord record = FirstInstanceRecord(100);
    EXPECT_FALSE(AdmitInstance(record, 1, 200));
    EXPECT_EQ(record.LastInstanceHandle, 100u);
    EXPECT_EQ(record.InstanceCount, 1u);
}

TEST(AdmitInstance, MaxTwoAdmitsTheSecondAndRefusesTheThird)
{
    TInstanceRecord record = FirstInstanceRecord(100);
    EXPECT_TRUE(AdmitInstance(record, 2, 200));
    EXPECT_EQ(record.LastInstanceHandle, 200u);
    EXPECT_EQ(record.InstanceCount, 2u);
    EXPECT_FALSE(AdmitInstance(record, 2, 300));
    EXPECT_EQ(record.LastInstanceHandle, 200u);
    EXPECT_EQ(record.InstanceCount, 2u);
}

TEST(AdmitInstance, MaxZeroRefusesOnAnExistingRecord)
{
    TInstanceRecord record = FirstInstanceRecord(100);
    EXPECT_FALSE(AdmitInstance(record, 0, 200));
    EXPECT_EQ(record.LastInstanceHandle, 100u);
    EXPECT_EQ(record.InstanceCount, 1u);
    // Even a record left at 0 by ended copies admits nobody with a limit of 0.
    TInstanceRecord empty{100, 0};
    EXPECT_FALSE(AdmitInstance(empty, 0, 200));
    EXPECT_EQ(empty.InstanceCount, 0u);
}

TEST(AdmitInstance, AdmitsAgainAfterARelease)
{
    TInstanceRecord record = FirstInstanceRecord(100);
    ReleaseInstance(record);
    EXPECT_EQ(record.InstanceCount, 0u);
    EXPECT_EQ(record.LastInstanceHandle, 100u);
    EXPECT_TRUE(AdmitInstance(record, 1, 300));
    EXPECT_EQ(record.LastInstanceHandle, 300u);
    EXPECT_EQ(record.InstanceCount, 1u);
}

TEST(AdmitInstance, ComparesUnsigned)
{
    TInstanceRecord record{1, 0x80000000u};
    EXPECT_FALSE(AdmitInstance(record, 0x7FFFFFFFu, 2));
    EXPECT_TRUE(AdmitInstance(record, 0xFFFFFFFFu, 2));
    EXPECT_EQ(record.InstanceCount, 0x80000001u);
}

TEST(ReleaseInstance, NeverGoesBelowZero)
{
    TInstanceRecord record{7, 2};
    ReleaseInstance(record);
    EXPECT_EQ(record.InstanceCount, 1u);
    ReleaseInstance(record);
    EXPECT_EQ(record.InstanceCount, 0u);
    ReleaseInstance(record);
    EXPECT_EQ(record.InstanceCount, 0u);
    EXPECT_EQ(record.LastInstanceHandle, 7u);
}

TEST(OSErrorMessage, ShowsCodeAndSystemText)
{
    EXPECT_EQ(OSErrorMessage(5, "Access is denied."), "System Error.  Code: 5.\r\nAccess is denied.");
    EXPECT_EQ(OSErrorMessage(1450, ""), "System Error.  Code: 1450.\r\n");
}

TEST(OSErrorMessage, ZeroIsAFailedCall)
{
    EXPECT_EQ(OSErrorMessage(0, "The operation completed successfully."), "A call to an OS function failed");
}

TEST(InstanceRules, PublishedHandlesAreSignExtendedBack)
{
    EXPECT_EQ(HandleFromValue(0x00012345u), intptr_t(0x12345));
    EXPECT_EQ(static_cast<uint64_t>(HandleFromValue(0x80001234u)), 0xFFFFFFFF80001234ull);
}

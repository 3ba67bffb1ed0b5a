// Rules of the single-instance guard that do not depend on the system: the
// name of the shared record, the record itself and the decisions made on it.
#pragma once

#include <cstdint>
#include <string>

// The shared record of all copies started from one executable path.
// 8 bytes, little-endian, as it lies in the shared memory.
struct TInstanceRecord {
    uint32_t LastInstanceHandle; // application window of the copy counted last
    uint32_t InstanceCount;      // counted copies running now
};
static_assert(sizeof(TInstanceRecord) == 8, "the shared record is 8 bytes");

// The name of the shared memory for an executable path: the path with every
// backslash and every blank removed; letter case and all else stay.
std::string MappingName(const std::string& exePath);

// Decides on a copy that finds the record already there. Admitted when fewer
// than maxInstances copies are counted: the record then names ownHandle as
// the last copy and counts one more. Refused otherwise; the record is left
// as it was.
bool AdmitInstance(TInstanceRecord& record, uint32_t maxInstances, uint32_t ownHandle);

// The record of the first copy: it always counts itself.
TInstanceRecord FirstInstanceRecord(uint32_t ownHandle);

// Gives back one counted copy; the count never goes below 0. The last
// handle is left unchanged.
void ReleaseInstance(TInstanceRecord& record);

// The text of an operating-system error: "System Error.  Code: <code>.\r\n<text>",
// or "A call to an OS function failed" when the code is 0.
std::string OSErrorMessage(uint32_t code, const std::string& systemText);

// A window handle published as a 32-bit number, back at full width: the
// system sign-extends handles, so 0x80001234 stands for 0xFFFFFFFF80001234.
inline intptr_t HandleFromValue(uint32_t value)
{
    return static_cast<intptr_t>(static_cast<int32_t>(value));
}

// Builds theme files, the counterpart of the theme-file reader beside it:
// the entries in the order they were added, each record followed by the
// next, the closing record, then the data. The themepack tool packs a
// folder with it; the reader's tests and the fuzzer's seeds are written
// with it too, also with entries the reader must refuse.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "skin/SUIThemeFileReader.h"

struct TThemeFileEntry {
    std::string name;
    uint8_t type; // a TsuiThemeEntryType, or any other number
    std::vector<uint8_t> data;
};

class TThemeFileWriter {
public:
    // Names longer than the record's name field raise EThemeFileError.
    void AddBitmap(const std::string& name, const std::vector<uint8_t>& bmpFile);
    void AddInt(const std::string& name, int32_t value);
    void AddByte(const std::string& name, uint8_t value);
    void AddString(const std::string& name, const std::string& text);
    // Any type and data as they are, also ones the reader refuses.
    void AddRaw(const std::string& name, uint8_t type, const std::vector<uint8_t>& data);

    size_t EntryCount() const { return entries_.size(); }

    // Record i (counted from 0) lies at RecordOffset(i); the closing record
    // at RecordOffset(EntryCount()).
    static uint32_t RecordOffset(size_t index) { return kThemeHeaderLength + kThemeRecordSize * uint32_t(index); }

    std::vector<uint8_t> Bytes() const;
    // Creates or empties the file and writes Bytes() into it.
    void SaveToFile(const std::string& path) const;

private:
    std::vector<TThemeFileEntry> entries_;
};

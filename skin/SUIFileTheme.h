// A theme file on disk as a component: skinned components whose UIStyle is
// FromThemeFile read their pictures and values from it.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/DisplayScale.h"
#include "imaging/GdiHandles.h"
#include "skin/SUIThemeFileReader.h"

// A component that draws from a theme file, as the theme file sees it.
class IsuiThemeUser {
public:
    // The theme has read another file: draw from it.
    virtual void FileThemeLoaded() = 0;
    // The theme file component is going away: draw DeepBlue from now on.
    virtual void FileThemeRemoved() = 0;

protected:
    ~IsuiThemeUser() = default;
};

// Holds the reader of the last file loaded.
class TsuiFileThemeMgr {
public:
    // False when no file exists under the name. Otherwise the previous
    // reader goes and the new file is read; errors reading it are raised.
    bool LoadFromFile(const std::string& fileName);
    TsuiThemeFileReader* Reader() const { return reader_.get(); }

private:
    std::unique_ptr<TsuiThemeFileReader> reader_;
};

class TsuiFileTheme {
public:
    TsuiFileTheme() = default;
    // Components using the theme are told, and draw DeepBlue from then on.
    ~TsuiFileTheme();
    TsuiFileTheme(const TsuiFileTheme&) = delete;
    TsuiFileTheme& operator=(const TsuiFileTheme&) = delete;

    const std::string& ThemeFile() const { return themeFile_; }
    // Loads the file; a bare name that does not exist is looked for beside
    // the program. A missing file changes nothing; a file that cannot be
    // read raises its error and leaves the theme unloaded.
    void SetThemeFile(const std::string& fileName);
    bool Loaded() const { return loaded_; }

    // Lookups by key number; absent keys give -1, false, or leave the
    // bitmap as it was. The file's pictures are drawn for 100 per cent; at
    // another scale they come enlarged smoothly, frame by frame, with the
    // magenta key kept exact.
    void GetBitmap(int key, TGdiObject& bitmap, const TDisplayScale& scale = {}) const;
    void GetBitmap(int key, TGdiObject& bitmap, int frameCount, int frameIndex, const TDisplayScale& scale = {}) const;
    int32_t GetInt(int key) const;
    uint32_t GetColor(int key) const { return static_cast<uint32_t>(GetInt(key)); }
    bool GetBool(int key) const;

    // Components that use the theme sign in, to be told when it reads
    // another file and when it goes away.
    void AddUser(IsuiThemeUser* user);
    void RemoveUser(IsuiThemeUser* user);

private:
    std::string themeFile_;
    TsuiFileThemeMgr manager_;
    bool loaded_ = false;
    std::vector<IsuiThemeUser*> users_;
};

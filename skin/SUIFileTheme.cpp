#include "skin/SUIFileTheme.h"

#include <windows.h>

#include <algorithm>

#include "core/Unicode.h"
#include "skin/SUIStyleTable.h"
#include "skin/SUIPictures.h"

static bool FileExists(const std::string& name)
{
    const DWORD attributes = GetFileAttributesW(Utf8ToWide(name).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// The folder of the running program, with its backslash.
static std::string ProgramFolder()
{
    wchar_t path[MAX_PATH * 4];
    const DWORD length = GetModuleFileNameW(nullptr, path, static_cast<DWORD>(std::size(path)));
    std::wstring folder(path, length);
    return WideToUtf8(folder.substr(0, folder.find_last_of(L"\\/") + 1));
}

static std::string FilePart(const std::string& name)
{
    const size_t cut = name.find_last_of("\\/:");
    return cut == std::string::npos ? name : name.substr(cut + 1);
}

bool TsuiFileThemeMgr::LoadFromFile(const std::string& fileName)
{
    if (!FileExists(fileName))
        return false;
    reader_.reset();
    reader_ = std::make_unique<TsuiThemeFileReader>(fileName);
    return true;
}

TsuiFileTheme::~TsuiFileTheme()
{
    std::vector<IsuiThemeUser*> users = users_;
    users_.clear();
    for (IsuiThemeUser* user : users)
        user->FileThemeRemoved();
}

void TsuiFileTheme::SetThemeFile(const std::string& fileName)
{
    if (fileName == themeFile_)
        return;
    std::string name = fileName;
    if (!FileExists(name)) {
        name = ProgramFolder() + FilePart(fileName);
        if (!FileExists(name))
            return;
    }
    themeFile_ = name;
    // A file that cannot be read leaves no theme behind: the components
    // fall back to DeepBlue rather than draw from nothing.
    loaded_ = false;
    loaded_ = manager_.LoadFromFile(name);
    if (!loaded_)
        return;
    std::vector<IsuiThemeUser*> users = users_;
    for (IsuiThemeUser* user : users)
        user->FileThemeLoaded();
}

// The file's picture of the key as it is stored; empty when absent.
static TGdiObject StoredBitmap(const TsuiFileThemeMgr& manager, int key)
{
    const char* name = ThemeKeyName(key);
    TsuiThemeFileReader* reader = manager.Reader();
    if (!name || !reader)
        return TGdiObject();
    TMemoryStream* stream = reader->GetBitmap(name);
    return stream ? BitmapFromBmpFile(stream->Data().data(), stream->Size()) : TGdiObject();
}

void TsuiFileTheme::GetBitmap(int key, TGdiObject& bitmap, const TDisplayScale& scale) const
{
    TGdiObject loaded = StoredBitmap(manager_, key);
    if (loaded && !scale.IsIdentity())
        loaded = ScalePicture(loaded.Handle(), scale, ThemeImageFrames(key));
    if (loaded)
        bitmap = std::move(loaded);
}

void TsuiFileTheme::GetBitmap(int key, TGdiObject& bitmap, int frameCount, int frameIndex,
                              const TDisplayScale& scale) const
{
    if (frameCount == 0) {
        GetBitmap(key, bitmap, scale);
        return;
    }
    TGdiObject strip = StoredBitmap(manager_, key);
    if (strip && !scale.IsIdentity())
        strip = ScalePicture(strip.Handle(), scale, frameCount);
    if (strip)
        bitmap = CutFrame(strip.Handle(), frameCount, frameIndex);
}

int32_t TsuiFileTheme::GetInt(int key) const
{
    const char* name = ThemeKeyName(key);
    TsuiThemeFileReader* reader = manager_.Reader();
    if (!reader)
        return 0;
    return name ? reader->GetInt(name) : -1;
}

bool TsuiFileTheme::GetBool(int key) const
{
    const char* name = ThemeKeyName(key);
    TsuiThemeFileReader* reader = manager_.Reader();
    return name && reader && reader->GetBool(name);
}

void TsuiFileTheme::AddUser(IsuiThemeUser* user)
{
    if (std::find(users_.begin(), users_.end(), user) == users_.end())
        users_.push_back(user);
}

void TsuiFileTheme::RemoveUser(IsuiThemeUser* user)
{
    users_.erase(std::remove(users_.begin(), users_.end(), user), users_.end());
}

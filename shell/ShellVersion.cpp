#include "shell/ShellVersion.h"

#include "core/TrayRecord.h"

namespace {

// A library loaded for the time of one call.
class TLoadedLibrary {
public:
    explicit TLoadedLibrary(const char* name) : module_(LoadLibraryA(name)) {}
    ~TLoadedLibrary()
    {
        if (module_)
            FreeLibrary(module_);
    }
    TLoadedLibrary(const TLoadedLibrary&) = delete;
    TLoadedLibrary& operator=(const TLoadedLibrary&) = delete;
    HMODULE Handle() const { return module_; }

private:
    HMODULE module_;
};

} // namespace

bool GetDllVersion(const char* dllName, DLLVERSIONINFO& info)
{
    info = DLLVERSIONINFO{};
    TLoadedLibrary library(dllName);
    if (!library.Handle())
        return false;
    FARPROC address = GetProcAddress(library.Handle(), "DllGetVersion");
    if (!address)
        return false;
    auto getVersion = reinterpret_cast<DLLGETVERSIONPROC>(reinterpret_cast<void*>(address));
    info.cbSize = sizeof(info);
    return SUCCEEDED(getVersion(&info));
}

bool ShellIsLegacy()
{
    static const bool legacy = [] {
        DLLVERSIONINFO info;
        const bool got = GetDllVersion("Shell32.dll", info);
        return IsLegacyShell(got, info.dwMajorVersion);
    }();
    return legacy;
}

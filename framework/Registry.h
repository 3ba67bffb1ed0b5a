// The registry accessor: one key under a root, read and written through
// the value rules of core/RegistryValues.h. Strings are stored as UTF-16,
// so every character survives.
#pragma once

#include <windows.h>

#include "core/RegistryValues.h"

class TRegistry : public TRegistryValues {
public:
    explicit TRegistry(HKEY root = HKEY_CURRENT_USER) : root_(root) {}
    ~TRegistry() override { CloseKey(); }
    TRegistry(const TRegistry&) = delete;
    TRegistry& operator=(const TRegistry&) = delete;

    // Opens the key at path (a leading "\" is allowed), creating it and its
    // parents when canCreate. Returns whether it is open.
    bool OpenKey(const std::string& path, bool canCreate);
    void CloseKey();
    bool KeyExists(const std::string& path) const;

    TRegValue Read(const std::string& name) const override;
    bool WriteString(const std::string& name, const std::string& text) override;
    bool WriteInteger(const std::string& name, int32_t value) override;

private:
    HKEY root_;
    HKEY key_ = nullptr;
};

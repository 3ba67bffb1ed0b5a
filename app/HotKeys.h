// The program's global hotkeys. Each is registered on its own, so that a key
// another program holds (on Windows 11 the screen snipping often owns
// PrintScreen) costs only that key: the others work, and the missing ones
// are tried again until they are free.
#pragma once

#include <windows.h>

#include <array>
#include <string>
#include <vector>

enum THotKeyId { hkScreen = 1, hkWindow = 2, hkTrayIcon = 3, hkRegion = 4, hkMarkup = 5 };

struct THotKey {
    int id;
    UINT modifiers;
    UINT key;
    const char* name; // as the user reads it
};

class THotKeys {
public:
    static constexpr size_t kKeyCount = 5;
    static const std::array<THotKey, kKeyCount> kKeys;

    // Registers on owner's window handle; Release gives every key back.
    void SetOwner(HWND owner) { owner_ = owner; }
    // Tries each key not held yet; true when one of them was taken now.
    bool TakeMissing();
    void Release();

    bool AllHeld() const;
    // Every PrintScreen key is held.
    bool PrintScreenHeld() const;
    // The names of the keys not held, in the table's order.
    std::vector<std::string> MissingNames() const;

private:
    HWND owner_ = nullptr;
    std::array<bool, kKeyCount> held_{};
};

// The per-user switch with which Windows 11 gives PrintScreen to its own
// screen capture ("Use the Print screen key to open screen capture").
bool SnippingOwnsPrintScreen();
// Turns that switch off for the current user; false when it cannot be written.
bool TurnOffSnippingPrintScreen();

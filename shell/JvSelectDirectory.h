// TJvSelectDirectory: lets the user choose a folder in the shell's folder
// browser. Created, set up, executed and destroyed for each use.
#pragma once

#include <cstdint>
#include <string>

class TJvSelectDirectory {
public:
    enum TOption : uint8_t { sdAllowCreate = 1, sdPerformCreate = 2, sdPrompt = 4 };

    TJvSelectDirectory() = default;

    // The chosen folder after Execute (UTF-8).
    const std::string& Directory() const { return directory_; }
    int32_t HelpContext() const { return helpContext_; }
    void SetHelpContext(int32_t value) { helpContext_ = value; }
    // Starting folder; in the shell browser also the root of the tree.
    const std::string& InitialDir() const { return initialDir_; }
    void SetInitialDir(const std::string& value) { initialDir_ = value; }
    // The classic dialog is not provided: both kinds use the shell browser.
    bool ClassicDialog() const { return classicDialog_; }
    void SetClassicDialog(bool value) { classicDialog_ = value; }
    uint8_t Options() const { return options_; }
    void SetOptions(uint8_t value) { options_ = value; }
    // The text above the folder tree.
    const std::string& Title() const { return title_; }
    void SetTitle(const std::string& value) { title_ = value; }

    // Shows the browser modally; true when the user confirmed a folder.
    bool Execute();

private:
    std::string directory_;
    int32_t helpContext_ = 0;
    std::string initialDir_;
    bool classicDialog_ = true;
    uint8_t options_ = sdAllowCreate | sdPerformCreate | sdPrompt;
    std::string title_;
};

#pragma once
#include <string>

// What the widget asks of the settings dialog. The dialog implements it, so the widget knows
// nothing of the dialog's controls and the includes point from the dialog to the widget only.
class SettingsDialog {
public:
    // At start: the dialog loads hidden, with the program's name and version line.
    virtual void Load(const std::string& title, const std::string& versionLine) = 0;
    // At the end: stores the options, removes the tray icon, hides.
    virtual void Unload() = 0;
    // Shows the dialog once the start sequence has named it; before that it is not ready.
    virtual void OpenIfReady() = 0;
    virtual void Refresh() = 0;
    virtual bool PlaceChosen() const = 0;
    // A downloaded update waits to replace the program at exit.
    virtual bool UpdateReady() const = 0;
    // The web page of the current conditions, empty before the first refresh.
    virtual std::string DetailLink() const = 0;

protected:
    ~SettingsDialog() = default;
};

// The application object: where the program's work starts, and the owner of
// its settings store.
#pragma once

#include <memory>
#include <string>

#include "platform/SettingsStore.h"

namespace gui {

class CDialog;

class CWinApp {
public:
    // name: the application's name, which names its settings file.
    explicit CWinApp(std::string name);
    virtual ~CWinApp();
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    // The program's work; the program ends when it returns. Returns whether
    // the framework should go on serving messages (never wanted here).
    virtual bool InitInstance() = 0;

    // Runs InitInstance and returns the process's exit status.
    int Run();

    // Opens the settings store of this application under the maker's name
    // (the INI file of platform::defaultSettingsPath), unless a store was
    // given with setProfile.
    void SetRegistryKey(const std::string& maker);
    // Gives the application a store of its own choosing (tests).
    void setProfile(std::unique_ptr<platform::SettingsStore> store);
    // The store; an empty in-memory one until SetRegistryKey or setProfile.
    platform::SettingsStore& profile();

    const std::string& appName() const { return name; }

    CDialog* m_pMainWnd = nullptr;
    int exitStatus = 0;

private:
    std::string name;
    std::unique_ptr<platform::SettingsStore> store;
};

}  // namespace gui

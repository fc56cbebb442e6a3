#include "platform/gui/WinApp.h"

namespace gui {

CWinApp::CWinApp(std::string appName) : name(std::move(appName)) {}

CWinApp::~CWinApp() = default;

int CWinApp::Run() {
    InitInstance();
    return exitStatus;
}

void CWinApp::SetRegistryKey(const std::string& maker) {
    if (store != nullptr) return;
    store = std::make_unique<platform::IniSettingsStore>(platform::defaultSettingsPath(maker, name));
}

void CWinApp::setProfile(std::unique_ptr<platform::SettingsStore> replacement) {
    store = std::move(replacement);
}

platform::SettingsStore& CWinApp::profile() {
    if (store == nullptr) store = std::make_unique<platform::MemorySettingsStore>();
    return *store;
}

}  // namespace gui

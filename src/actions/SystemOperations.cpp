// Placeholder until the system operations land.
#include "actions/KivraUtils.h"

namespace kivra {
bool KivraUtils::GetWaveVolume(std::uint16_t&, std::uint16_t&) { return false; }
void KivraUtils::SetWaveVolume(std::uint16_t, std::uint16_t) {}
void KivraUtils::VolumeStepUp() {}
void KivraUtils::VolumeStepDown() {}
std::string KivraUtils::GetSpecialFolderPath(WindowHandle, int) { return {}; }
void KivraUtils::OpenSpecialFolder(WindowHandle, int) {}
void KivraUtils::OpenExplorer(WindowHandle) {}
void KivraUtils::ToggleCdTray(WindowHandle) {}
void KivraUtils::StartScreenSaver() {}
void KivraUtils::TurnMonitorOff() {}
void KivraUtils::PowerControl(int) {}
void KivraUtils::AddAutorun(const std::string&, const std::string&) {}
void KivraUtils::RemoveAutorun(const std::string&) {}
}  // namespace kivra

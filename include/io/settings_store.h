#pragma once

// The program's settings live in one configuration file,
// ~/.config/brackwell-gifmaker.conf, read through wxConfigBase::Get() by the
// window and gifmaker-cli alike: named after the package rather than the
// executable, where the desktop keeps settings. Call once the toolkit has
// started and before the first wxConfigBase::Get().
void UseProgramSettingsStore();

class wxConfigBase;

// Writes the settings out now, making the configuration folder a fresh home
// lacks. Failing to write is not reported: settings are a convenience, and
// nothing must hold up the window for them.
void FlushProgramSettings(wxConfigBase& config);

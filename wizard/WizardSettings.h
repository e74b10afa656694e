#pragma once

#include <string>

// The wizard's five settings as the settings file holds them; a missing key
// leaves its 0. The defaults for a 0 are the wizard's business.
struct WizardSettings {
    int virtualKey = 0;
    int screenwipe = 0;
    int screensaver = 0;
    int velocity = 0;
    int delay = 0;
};

// Reads the five under one open of the file, so that they are all from the
// same file or none is. Empty when the file was read; otherwise what to tell
// the user, whose wizard then shows the defaults.
std::string ReadWizardSettings(WizardSettings& settings);

// Writes the five under one open, all or none, offering to repair a damaged
// end; tells the user why when they were not written.
bool SaveWizardSettings(const WizardSettings& settings);

#pragma once

// The vocabulary of the settings file, the contract between the control
// panel and the lock daemon: the file's name beside the executables, its
// keys, and what each integer may hold and becomes when it is missing.
namespace Settings {

const char kFileName[] = "Vellmoran.bin";

// The key that arms the lock: a virtual-key code, 0 for none.
const char kVirtualKey[] = "m_nVirtualKey";
// 0 or 1: moving the pointer across the screen arms the lock.
const char kScreenwipe[] = "m_bScreenwipe";
// 0 or 1: the screensaver timeout arms the lock.
const char kScreensaver[] = "m_bScreensaver";
// The screen wipe's sensitivity.
const char kVelocity[] = "m_nVelocity";
// Minutes before the screensaver arms the lock.
const char kDelay[] = "m_nDelay";
// The scrambled password.
const char kCode[] = "m_csCode";
// Full path of the bitmap the lock shows.
const char kImage[] = "m_csImage";

// The five keys of the wizard, in the order it reads and writes them.
const char* const kWizardKeys[] = {kVirtualKey, kScreenwipe, kScreensaver, kVelocity, kDelay};
const int kWizardKeyCount = sizeof(kWizardKeys) / sizeof(kWizardKeys[0]);

// A missing key reads as 0. For the velocity and the delay a 0 also means
// "not set" and gives way to the default; the other keys' default is 0.
const int kDefaultVelocity = 500;
const int kMinVelocity = 100;
const int kMaxVelocity = 1100;
const int kVelocityTick = 100;

const int kDefaultDelay = 5;
const int kMinDelay = 0;
const int kMaxDelay = 30;
// The spin arrows never reach 0, which would read as "not set".
const int kMinDelayByArrows = 1;

}  // namespace Settings

#pragma once

// The keys the lock can be armed with, named as the platform's VK_ constants
// without their prefix: the activation key's name in the wizard and in the
// daemon's tray. Null for a code without a name.
const char* VirtualKeyText(unsigned int code);

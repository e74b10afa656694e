#pragma once

// The flow behind the settings wizard's password "Change ..." button: asks
// for the old, the new and the confirmed password, proves the old one
// against the stored code and stores the code of the new one.
void RunChangePasswordFlow();

#pragma once
// Powering the PC off at the end of the shutdown sequence.

namespace brontel {

// Enables the shutdown privilege and asks the system to power off, without
// forcing programs that refuse to end. False when the request could not be
// made; nothing is reported to the user either way.
bool PowerOffPc();

}  // namespace brontel

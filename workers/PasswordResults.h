#pragma once
// Results of the password worker beyond those of workers/Workers.h: a change the projector
// refused with a status byte other than 0x41 (which asks again for the current password) and
// other than 0x20 (accepted). The result carries the byte, so that it can be told.

#include <string>

namespace lanterna {

constexpr int PasswordDeclinedResult(int statusByte) {
    return -0x100 - (statusByte & 0xFF);
}

// The status byte of a PasswordDeclinedResult, or -1 for any other result.
constexpr int DeclinedStatusOf(int result) {
    return result <= -0x100 && result >= -0x1FF ? -0x100 - result : -1;
}

// The status byte as it is told: "0x4F".
std::string StatusByteText(int statusByte);

}  // namespace lanterna

#pragma once
// Which settings the write worker sends. With writeAll nonzero (a settings file applied) every
// setting read or loaded (state 1) is sent; with writeAll zero only what the user changed
// (state 2). States 0 (unknown) and 3 (confirmed unchanged) are never sent.

#include <cstdint>
#include <initializer_list>

namespace lanterna {

inline bool IsDue(std::int32_t writeAll, std::int32_t state) {
    return writeAll != 0 ? state == 1 : state == 2;
}

// Settings that travel in one command (the DNS or the WINS pair, an address-configuration
// group): with writeAll, every state of the group must be 1; without, any state 2 is enough.
inline bool IsGroupDue(std::int32_t writeAll, std::initializer_list<std::int32_t> states) {
    if (writeAll != 0) {
        for (const std::int32_t state : states) {
            if (state != 1) {
                return false;
            }
        }
        return states.size() != 0;
    }
    for (const std::int32_t state : states) {
        if (state == 2) {
            return true;
        }
    }
    return false;
}

}  // namespace lanterna

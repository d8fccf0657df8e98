#pragma once
// The numbered settings of a ProjectorRecord (mail recipients 1-3, trap addresses 1-2, WEP keys
// 1-4) and their state words, reached by number. A number out of range is a programming error
// and falls back to the first slot.

#include <cstdint>

#include "record/ProjectorRecord.h"

namespace lanterna::numbered {

template <typename Record>
auto& MailTo(Record& r, int n) {
    return n == 3 ? r.mailTo3 : n == 2 ? r.mailTo2 : r.mailTo1;
}
template <typename Record>
auto& MailToState(Record& r, int n) {
    return n == 3 ? r.mailTo3State : n == 2 ? r.mailTo2State : r.mailTo1State;
}
template <typename Record>
auto& MailEvents(Record& r, int n) {
    return n == 3 ? r.mailEvents3 : n == 2 ? r.mailEvents2 : r.mailEvents1;
}
template <typename Record>
auto& MailEventsState(Record& r, int n) {
    return n == 3 ? r.mailEvents3State : n == 2 ? r.mailEvents2State : r.mailEvents1State;
}
template <typename Record>
auto& TrapAddress(Record& r, int n) {
    return n == 2 ? r.trapAddress2 : r.trapAddress1;
}
template <typename Record>
auto& TrapAddressState(Record& r, int n) {
    return n == 2 ? r.trapAddress2State : r.trapAddress1State;
}
template <typename Record>
auto& WepKey(Record& r, int n) {
    return n == 4 ? r.wepKey4 : n == 3 ? r.wepKey3 : n == 2 ? r.wepKey2 : r.wepKey1;
}
template <typename Record>
auto& WepKeyState(Record& r, int n) {
    return n == 4   ? r.wepKey4State
           : n == 3 ? r.wepKey3State
           : n == 2 ? r.wepKey2State
                    : r.wepKey1State;
}

}  // namespace lanterna::numbered

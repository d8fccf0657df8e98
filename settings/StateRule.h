#pragma once
// The state rule by which the projector variants of the mail, SNMP and wireless dialogs store an
// accepted entry, for a new value v, the reference r (what the projector reported when the
// network settings dialog opened) and the at-open value a (what the record held when the
// sub-dialog opened):
// - v differs from r: the field takes v, its state word 2 (to be written);
// - v equals r: the state word 3 (nothing to write), and the field takes v when v differs from
//   a, which puts back a value an earlier run of the dialog had changed; a value held cut
//   (record/CutState.h) keeps its state word, so that it is neither sent nor saved.
// `same` decides equality; for texts it may ignore letter case, so a text that differs from
// both r and a only in letter case leaves the field's text as it was.

#include <cstdint>
#include <functional>
#include <string_view>

#include "platform/FixedText.h"
#include "record/CutState.h"
#include "record/ProjectorRecord.h"

namespace lanterna {

// A switch as the record stores it: 1 on, 0 off.
constexpr std::int32_t OnOff(bool on) {
    return on ? 1 : 0;
}

// The state word of an entry equal to the reference: 3, unless the value is held cut and stays.
constexpr std::int32_t UnchangedState(std::int32_t before) {
    return before == kStateCut ? kStateCut : kStateUnchanged;
}

// A setting the projector never reported (`referenceRead` false) has no reference to equal: an
// entry given for it is a change (state 2), and none leaves it unread (state 0), so that nobody's
// value is ever sent for it. Applied after the state rule.
constexpr void KeepUnreadUnlessGiven(bool referenceRead, bool given, std::int32_t& state) {
    if (!referenceRead) {
        state = given ? kStateChanged : kStateUnknown;
    }
}

template <class Value, class Same = std::equal_to<>>
void StoreByStateRule(const Value& value, const Value& reference, const Value& atOpen, Value& field,
                      std::int32_t& state, Same same = {}) {
    if (!same(value, reference)) {
        field = value;
        state = kStateChanged;
        return;
    }
    state = UnchangedState(state);
    if (!same(value, atOpen)) {
        field = value;
    }
}

template <std::size_t N, class Same>
void StoreTextByStateRule(std::string_view value, std::string_view reference,
                          std::string_view atOpen, FixedText<N>& field, std::int32_t& state,
                          Same same) {
    if (!same(value, reference)) {
        CopyText(field, value);
        state = kStateChanged;
        return;
    }
    state = UnchangedState(state);
    if (!same(value, atOpen)) {
        CopyText(field, value);
    }
}

}  // namespace lanterna

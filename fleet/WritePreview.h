#pragma once
// What a planned write (the results of a dry run) would do, told in settings rather than in
// command lines: per target, each setting that changes with its value now and after; the
// changed settings the write would not carry, and why; what a template leaves as each projector
// has it, and why; whether the network module restarts to take the change. The window's preview
// and lanternactl's dry run show the same; each words it in its own way.

#include <cstddef>
#include <string>
#include <utility>
#include <vector>

#include "fleet/WriteFlow.h"

namespace lanterna::fleet {

struct SettingChange {
    std::string field;  // as set names it
    std::string now;    // the projector's value as read (empty: none, or not read)
    std::string after;  // the value the write gives

    friend bool operator==(const SettingChange&, const SettingChange&) = default;
};

struct TargetPreview {
    std::vector<SettingChange> changes;  // only for a target that would be written
    std::vector<NotSentSetting> notSent;
    // What a template holds but leaves alone: each reason's sentence (a string id taking the
    // fields as {1}) with its fields.
    std::vector<std::pair<int, std::vector<std::string>>> leftAlone;
    // The write ends with NWRESET: the module restarts to take what was sent.
    bool moduleRestarts = false;
};

// The preview of one result.
TargetPreview PreviewOf(const WriteResult& result);

}  // namespace lanterna::fleet

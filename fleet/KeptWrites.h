#pragma once
// The writes a projector's history keeps, as history and undo show and take them: the entries
// of both its interfaces' hardware addresses (a projector that changed interface has kept
// entries under each) merged newest first and numbered from 1, and its change log's lines
// merged by time and taken apart into their columns.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "fleet/History.h"
#include "record/ProjectorRecord.h"

namespace lanterna::fleet {

// What history and undo are given: a hardware address (12 upper-case hexadecimal digits), which
// names the entries without asking the network, or the address of a projector to read first.
struct HardwareTarget {
    std::string mac;
};
struct AddressTarget {
    std::string address;
};
using HistoryTarget = std::variant<HardwareTarget, AddressTarget>;

// An address with its three dots, else a hardware address with or without separators; none
// for anything else.
std::optional<HistoryTarget> HistoryTargetOf(std::string_view word);

struct KeptWrite {
    int number = 0;   // 1: the newest, as undo N takes it
    std::string mac;  // the folder it was kept under
    HistoryEntry entry;
};

// The entries kept under each of `macs` (empty ones and repeats skipped), newest first: each
// folder in its own order, the folders merged by time.
std::vector<KeptWrite> KeptWrites(const CHistory& history, const std::vector<std::string>& macs);

// Which of `count` kept writes undo takes for its word N (1: the newest; none given: the
// newest); none for a word that is no number from 1 to `count`.
std::optional<std::size_t> UndoIndex(std::optional<std::string_view> word, std::size_t count);

// One line of a change log in its columns; a line short of columns keeps what it has, the rest
// empty.
struct ChangeLine {
    std::string time;
    std::string address;
    std::string name;
    std::vector<std::string> sent;  // the commands, as "; " joined them
    std::string outcome;
    std::string who;  // "user@host"; empty on lines written before it was logged
};

ChangeLine ChangeLineOf(std::string_view line);

// A command line as history shows it: the WEP key it carries (NWWEP1 to NWWEP4, the key part of
// NWWLCNF) masked as read masks it; "INIT", which clears a key, and every other line as they are.
std::string MaskedCommand(std::string_view line);

// The change log lines of every one of `macs`, oldest first.
std::vector<ChangeLine> ChangeLines(const CHistory& history, const std::vector<std::string>& macs);

}  // namespace lanterna::fleet

#include "fleet/KeptWrites.h"

#include <algorithm>
#include <charconv>

#include "fleet/SiteRead.h"
#include "fleet/Targets.h"

namespace lanterna::fleet {

namespace {

// The hardware addresses once each, in their normal form.
std::vector<std::string> DistinctMacs(const std::vector<std::string>& macs) {
    std::vector<std::string> distinct;
    for (const std::string& mac : macs) {
        const auto normal = NormalHardwareAddress(mac);
        if (normal && std::find(distinct.begin(), distinct.end(), *normal) == distinct.end()) {
            distinct.push_back(*normal);
        }
    }
    return distinct;
}

// The columns of a tab-separated line.
std::vector<std::string> TabColumns(std::string_view line) {
    std::vector<std::string> columns;
    for (std::size_t start = 0;;) {
        const std::size_t tab = line.find('\t', start);
        columns.emplace_back(line.substr(start, tab == std::string_view::npos ? tab : tab - start));
        if (tab == std::string_view::npos) {
            return columns;
        }
        start = tab + 1;
    }
}

std::vector<std::string> SentCommands(std::string_view joined) {
    std::vector<std::string> commands;
    for (std::size_t start = 0; start < joined.size();) {
        const std::size_t end = std::min(joined.find("; ", start), joined.size());
        commands.emplace_back(joined.substr(start, end - start));
        start = end + 2;
    }
    return commands;
}

}  // namespace

std::optional<HistoryTarget> HistoryTargetOf(std::string_view word) {
    if (auto address = CanonicalAddress(word)) {
        return AddressTarget{std::move(*address)};
    }
    if (auto mac = NormalHardwareAddress(word)) {
        return HardwareTarget{std::move(*mac)};
    }
    return std::nullopt;
}

std::vector<KeptWrite> KeptWrites(const CHistory& history, const std::vector<std::string>& macs) {
    // Each folder's own order (its sequence) stays; between folders the newer time goes first.
    std::vector<std::vector<HistoryEntry>> folders;
    std::vector<std::string> names = DistinctMacs(macs);
    for (const std::string& mac : names) {
        folders.push_back(history.Entries(mac));
    }
    std::vector<std::size_t> next(folders.size(), 0);
    std::vector<KeptWrite> kept;
    for (;;) {
        std::optional<std::size_t> pick;
        for (std::size_t f = 0; f < folders.size(); ++f) {
            if (next[f] < folders[f].size() &&
                (!pick || folders[f][next[f]].time > folders[*pick][next[*pick]].time)) {
                pick = f;
            }
        }
        if (!pick) {
            break;
        }
        kept.push_back({static_cast<int>(kept.size() + 1), names[*pick],
                        std::move(folders[*pick][next[*pick]++])});
    }
    return kept;
}

std::optional<std::size_t> UndoIndex(std::optional<std::string_view> word, std::size_t count) {
    std::size_t number = 1;
    if (word) {
        const char* end = word->data() + word->size();
        const auto [stop, error] = std::from_chars(word->data(), end, number);
        if (word->empty() || error != std::errc() || stop != end) {
            return std::nullopt;
        }
    }
    if (number < 1 || number > count) {
        return std::nullopt;
    }
    return number - 1;
}

ChangeLine ChangeLineOf(std::string_view line) {
    std::vector<std::string> columns = TabColumns(line);
    columns.resize(std::max<std::size_t>(columns.size(), 6));
    return {columns[0], columns[1], columns[2], SentCommands(columns[3]), columns[4], columns[5]};
}

std::string MaskedCommand(std::string_view line) {
    constexpr std::string_view kMask = "********";
    const std::string_view command = line.substr(0, line.find(' '));
    const std::size_t last = line.rfind(' ');
    if (last == std::string_view::npos || last + 1 == line.size()) {
        return std::string(line);
    }
    const std::string_view key = line.substr(last + 1);
    const bool wepSlot = command.size() == 6 && command.starts_with("NWWEP") &&
                         command[5] >= '1' && command[5] <= '4';
    if (wepSlot && key != "INIT") {
        return std::string(line.substr(0, last + 1)) + std::string(kMask);
    }
    if (command == "NWWLCNF") {
        // "NWWLCNF ON|OFF ADDRESS MASK GATEWAY MODE ESSID KEY": mode bit 2 carries a key, last.
        std::size_t at = 0;
        for (int word = 0; word < 5 && at != std::string_view::npos; ++word) {
            at = line.find(' ', at + 1);
        }
        const std::string_view mode =
            at == std::string_view::npos ? std::string_view() : line.substr(at + 1, 1);
        if (!mode.empty() && mode[0] >= '0' && mode[0] <= '7' && ((mode[0] - '0') & 2) != 0) {
            return std::string(line.substr(0, last + 1)) + std::string(kMask);
        }
    }
    return std::string(line);
}

std::vector<ChangeLine> ChangeLines(const CHistory& history, const std::vector<std::string>& macs) {
    std::vector<ChangeLine> lines;
    for (const std::string& mac : DistinctMacs(macs)) {
        for (const std::string& line : history.ChangeLogLines(mac)) {
            if (!line.empty()) {
                lines.push_back(ChangeLineOf(line));
            }
        }
    }
    std::stable_sort(lines.begin(), lines.end(),
                     [](const ChangeLine& a, const ChangeLine& b) { return a.time < b.time; });
    return lines;
}

}  // namespace lanterna::fleet

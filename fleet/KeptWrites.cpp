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
    std::vector<KeptWrite> kept;
    for (const std::string& mac : DistinctMacs(macs)) {
        for (HistoryEntry& entry : history.Entries(mac)) {
            kept.push_back({0, mac, std::move(entry)});
        }
    }
    std::stable_sort(kept.begin(), kept.end(), [](const KeptWrite& a, const KeptWrite& b) {
        return a.entry.time != b.entry.time ? a.entry.time > b.entry.time
                                            : a.entry.number > b.entry.number;
    });
    for (std::size_t i = 0; i < kept.size(); ++i) {
        kept[i].number = static_cast<int>(i + 1);
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
    columns.resize(std::max<std::size_t>(columns.size(), 5));
    return {columns[0], columns[1], columns[2], SentCommands(columns[3]), columns[4]};
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

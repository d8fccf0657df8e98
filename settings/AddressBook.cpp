#include "settings/AddressBook.h"

#include <algorithm>

namespace lanterna {

std::string FormatAddressBookEntry(std::string_view name, const Octets& address) {
    std::string entry(name);
    entry.push_back('\n');
    entry.append(FormatDotted(address));
    return entry;
}

std::optional<std::string_view> AddressTextOf(std::string_view entry) {
    const std::size_t lineFeed = entry.find('\n');
    if (lineFeed == std::string_view::npos) {
        return std::nullopt;
    }
    return entry.substr(lineFeed + 1);
}

void AddressBook::Append(std::string entry, std::string type) {
    entries_.push_back(std::move(entry));
    types_.push_back(std::move(type));
}

void AddressBook::Add(std::string_view name, const Octets& address, std::uint8_t imType) {
    Append(FormatAddressBookEntry(name, address), std::to_string(imType));
}

bool AddressBook::RemoveAddress(std::string_view address) {
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        if (AddressTextOf(entries_[i]) == address) {
            entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(i));
            types_.erase(types_.begin() + static_cast<std::ptrdiff_t>(i));
            return true;
        }
    }
    return false;
}

std::size_t AddressBook::Rename(std::string_view currentAddress, std::string_view name,
                                const Octets& address) {
    std::size_t renamed = 0;
    for (std::string& entry : entries_) {
        if (AddressTextOf(entry) == currentAddress) {
            entry = FormatAddressBookEntry(name, address);
            ++renamed;
        }
    }
    return renamed;
}

void AddressBook::Clear() {
    entries_.clear();
    types_.clear();
    unread_.clear();
}

}  // namespace lanterna

// Loading and saving a large address book, as the main window does at its first refresh and at
// its close: figures for 1,000, 10,000 and 60,000 entries (the best of three runs each), with
// the plain read and atomic write of a file of the same size as the floor.

#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/AtomicFile.h"
#include "record/ProjectorList.h"
#include "settings/AddressBook.h"
#include "settings/AddressBookStore.h"

namespace lanterna {
namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::duration duration) {
    return std::chrono::duration<double>(duration).count();
}

template <typename Run>
double BestOfThree(Run run) {
    double best = 1e9;
    for (int i = 0; i < 3; ++i) {
        const auto start = Clock::now();
        run();
        best = std::min(best, Seconds(Clock::now() - start));
    }
    return best;
}

AddressBook BookOf(std::size_t entries) {
    AddressBook book;
    for (std::size_t i = 0; i < entries; ++i) {
        const auto n = static_cast<std::uint32_t>(i);
        book.Add("ROOM-" + std::to_string(i % 1000),
                 {10, static_cast<std::uint8_t>(n >> 16), static_cast<std::uint8_t>(n >> 8),
                  static_cast<std::uint8_t>(n)},
                 22);
    }
    return book;
}

void Measure(const std::string& folder, std::size_t entries) {
    const HiveFile hive{folder + "/registry-" + std::to_string(entries) + ".reg"};
    const AddressBook book = BookOf(entries);
    const double save = BestOfThree([&] {
        if (SaveAddressBook(book, hive) != 1) {
            std::fprintf(stderr, "save failed\n");
            std::exit(1);
        }
    });
    std::size_t loaded = 0;
    const double load = BestOfThree([&] {
        AddressBook again;
        LoadAddressBook(again, hive);
        loaded = again.Size();
    });
    ProjectorList projectors;
    const double merge = BestOfThree([&] {
        projectors.Clear();
        MergeAddressBook(book, projectors);
    });
    std::string content;
    ReadWholeFile(hive.path, kMaxHiveFileBytes, content);
    const double floor = BestOfThree([&] {
        std::string again;
        ReadWholeFile(hive.path, kMaxHiveFileBytes, again);
        ReplaceFileAtomically(folder + "/copy.reg", again);
    });
    std::printf(
        "%6zu entries (%5.2f MB): save %.3f s, load %.3f s (%zu entries), merge %.4f s "
        "(%zu listed); plain read + atomic write of the file %.3f s\n",
        entries, static_cast<double>(content.size()) / 1e6, save, load, loaded, merge,
        projectors.Size(), floor);
}

}  // namespace
}  // namespace lanterna

int main() {
    char pattern[] = "/tmp/lanterna-bench-XXXXXX";
    if (::mkdtemp(pattern) == nullptr) {
        return 1;
    }
    const std::string folder = pattern;
    for (const std::size_t entries : {1000, 10000, 60000}) {
        lanterna::Measure(folder, entries);
    }
    std::system(("rm -rf '" + folder + "'").c_str());
    return 0;
}

#include <gtest/gtest.h>

#include <cerrno>
#include <functional>
#include <optional>

#include "platform/RegistryKey.h"
#include "settings/AddressBook.h"
#include "settings/AddressBookStore.h"
#include "tests/support/files/TempFolder.h"

namespace lanterna {
namespace {

using test::ReadFile;
using test::TempFolder;

HiveFile HiveIn(const TempFolder& folder) {
    return {folder.File("lanterna/registry.reg")};
}

// Writes the stored list value by value, as another run of the program would have left it.
void Store(const HiveFile& hive, std::uint32_t count,
           const std::vector<std::pair<std::string, std::string>>& values) {
    RegistryKey key(hive);
    ASSERT_EQ(key.OpenOrCreate(RegistryRoot::CurrentUser, AddressBookKeyPath()), 1);
    ASSERT_EQ(key.SetDword("Count", count), 1);
    for (const auto& [name, text] : values) {
        ASSERT_EQ(key.SetString(name, text), 1);
    }
}

// ---- in memory ---------------------------------------------------------------------------------

TEST(AddressBook, AddFormatsNameLineFeedAddressAndType) {
    AddressBook book;
    book.Add("ROOM-1", {192, 168, 1, 5}, 22);
    book.Add("", {10, 0, 0, 1}, 0);
    EXPECT_EQ(book.ManualEntries(),
              (std::vector<std::string>{"ROOM-1\n192.168.1.5", "\n10.0.0.1"}));
    EXPECT_EQ(book.ManualTypes(), (std::vector<std::string>{"22", "0"}));
}

TEST(AddressBook, RemoveTakesTheFirstExactAddressOnly) {
    AddressBook book;
    book.Append("no line feed 10.0.0.5", "1");
    book.Append("A\n10.0.0.50", "2");
    book.Append("B\n10.0.0.5", "3");
    book.Append("C\n10.0.0.5", "4");
    EXPECT_TRUE(book.RemoveAddress("10.0.0.5"));
    EXPECT_EQ(book.ManualEntries(),
              (std::vector<std::string>{"no line feed 10.0.0.5", "A\n10.0.0.50", "C\n10.0.0.5"}));
    EXPECT_EQ(book.ManualTypes(), (std::vector<std::string>{"1", "2", "4"}));
    EXPECT_FALSE(book.RemoveAddress("10.0.0.6"));
    EXPECT_EQ(book.Size(), 3U);
}

TEST(AddressBook, RenameFollowsEveryEntryOfTheOldAddressAndKeepsTypes) {
    AddressBook book;
    book.Append("OLD\n10.0.0.5", "22");
    book.Append("OTHER\n10.0.0.6", "30");
    book.Append("TWICE\n10.0.0.5", "");
    EXPECT_EQ(book.Rename("10.0.0.5", "NEW", {10, 0, 0, 9}), 2U);
    EXPECT_EQ(book.ManualEntries(),
              (std::vector<std::string>{"NEW\n10.0.0.9", "OTHER\n10.0.0.6", "NEW\n10.0.0.9"}));
    EXPECT_EQ(book.ManualTypes(), (std::vector<std::string>{"22", "30", ""}));
}

// ---- in the registry ---------------------------------------------------------------------------

TEST(AddressBookStore, MissingEntryEndsLoadingAndMissingTypeLoadsEmpty) {
    TempFolder folder;
    const HiveFile hive = HiveIn(folder);
    Store(hive, 3, {{"00", "A\n10.0.0.1"}, {"02", "C\n10.0.0.3"}, {"02TYPE", "22"}});
    AddressBook book;
    book.Append("kept\n1.1.1.1", "5");
    EXPECT_EQ(LoadAddressBook(book, hive), 0);
    EXPECT_EQ(book.ManualEntries(), (std::vector<std::string>{"kept\n1.1.1.1", "A\n10.0.0.1"}));
    EXPECT_EQ(book.ManualTypes(), (std::vector<std::string>{"5", ""}));
}

TEST(AddressBookStore, OverlongEntryEndsLoading) {
    TempFolder folder;
    const HiveFile hive = HiveIn(folder);
    Store(hive, 2, {{"00", std::string(34, 'n')}, {"01", std::string(35, 'n')}});
    AddressBook book;
    EXPECT_EQ(LoadAddressBook(book, hive), 0);
    EXPECT_EQ(book.Size(), 1U);
}

TEST(AddressBookStore, FreshHiveLoadsEmptyAndUnreadableHiveLoadsNothing) {
    TempFolder folder;
    AddressBook book;
    EXPECT_EQ(LoadAddressBook(book, HiveIn(folder)), 1);
    EXPECT_TRUE(book.Empty());
    EXPECT_EQ(LoadAddressBook(book, HiveFile{folder.Path()}), 0);
}

TEST(AddressBookStore, AppendNumbersBehindTheStoredEntries) {
    TempFolder folder;
    const HiveFile hive = HiveIn(folder);
    EXPECT_EQ(AppendAddressBookEntry("A\n10.0.0.1", "22", hive), 1);
    EXPECT_EQ(AppendAddressBookEntry("B\n10.0.0.2", "", hive), 1);
    AddressBook book;
    ASSERT_EQ(LoadAddressBook(book, hive), 1);
    EXPECT_EQ(book.ManualEntries(), (std::vector<std::string>{"A\n10.0.0.1", "B\n10.0.0.2"}));
    EXPECT_EQ(book.ManualTypes(), (std::vector<std::string>{"22", ""}));
}

TEST(AddressBookStore, SaveLeavesExactlyTheEntriesInMemoryNumberedWithoutGaps) {
    TempFolder folder;
    const HiveFile hive = HiveIn(folder);
    Store(hive, 3,
          {{"00", "A\n10.0.0.1"},
           {"01", "B\n10.0.0.2"},
           {"02", "C\n10.0.0.3"},
           {"02TYPE", "30"},
           {"07", "stray"}});
    AddressBook book;
    ASSERT_EQ(LoadAddressBook(book, hive), 1);
    book.RemoveAddress("10.0.0.2");
    book.Append("no line feed", "");
    ASSERT_EQ(SaveAddressBook(book, hive), 1);
    EXPECT_EQ(ReadFile(hive.path),
              "Windows Registry Editor Version 5.00\r\n\r\n"
              "[HKEY_CURRENT_USER\\Software\\MIRAL VANTA\\Lanterna\\Manual]\r\n"
              "\"Count\"=dword:00000003\r\n"
              "\"00\"=hex(1):41,0a,31,30,2e,30,2e,30,2e,31,00\r\n\"00TYPE\"=\"\"\r\n"
              "\"01\"=hex(1):43,0a,31,30,2e,30,2e,30,2e,33,00\r\n\"01TYPE\"=\"30\"\r\n"
              "\"02\"=\"no line feed\"\r\n\"02TYPE\"=\"\"\r\n\r\n");

    AddressBook again;
    ASSERT_EQ(LoadAddressBook(again, hive), 1);
    EXPECT_EQ(again.ManualEntries(), book.ManualEntries());
    EXPECT_EQ(again.ManualTypes(), book.ManualTypes());
}

// A book whose entry 01 cannot be read loads entry 00 only. Saving it (with a new entry) keeps
// entry 01 and every later one exactly as stored, behind the entries in memory; nothing is lost
// and the book does not shrink, however often it is loaded and saved.
TEST(AddressBookStore, EntriesThatCouldNotBeReadAreWrittenBackAsTheyWere) {
    const struct {
        const char* broken;
        std::function<void(RegistryKey&)> store;  // entry 01 as it is broken
        std::function<void(std::string&)> edit;   // or the file edited after storing
    } cases[] = {
        {"longer than its limit",
         [](RegistryKey& key) { key.SetString("01", "ROOM-2\n10.0.0.2" + std::string(30, ' ')); },
         nullptr},
        {"missing", [](RegistryKey&) {}, nullptr},
        {"an unterminated quote", [](RegistryKey& key) { key.SetString("01", "ROOM-2 10.0.0.2"); },
         [](std::string& text) {
             const std::string line = "\"01\"=\"ROOM-2 10.0.0.2\"";
             text.replace(text.find(line), line.size(), line.substr(0, line.size() - 1));
         }},
    };
    for (const auto& c : cases) {
        TempFolder folder;
        const HiveFile hive = HiveIn(folder);
        {
            RegistryKey key(hive);
            ASSERT_EQ(key.OpenOrCreate(RegistryRoot::CurrentUser, AddressBookKeyPath()), 1);
            key.SetDword("Count", 4);
            key.SetString("00", "HALL-1F\n10.0.0.1");
            c.store(key);
            key.SetString("01TYPE", "22");
            key.SetString("02", "ROOM-3\n10.0.0.3");
            key.SetString("03", "LAB-WL1\n10.0.0.4");
            key.SetString("03TYPE", "30");
        }
        if (c.edit) {
            std::string text = *ReadFile(hive.path);
            c.edit(text);
            test::WriteFile(hive.path, text);
        }
        const auto storedValues = [&](std::initializer_list<const char*> names) {
            RegistryKey key(hive);
            EXPECT_EQ(key.OpenOrCreate(RegistryRoot::CurrentUser, AddressBookKeyPath()), 1);
            std::vector<std::optional<RegistryValue>> values;
            for (const char* name : names) {
                const RegistryValue* value = FindRegistryValue(*key.OpenEntry(), name);
                values.push_back(value != nullptr ? std::optional(*value) : std::nullopt);
                if (values.back()) {
                    values.back()->name.clear();  // compared by type and bytes only
                }
            }
            return values;
        };
        const auto before = storedValues({"01", "01TYPE", "02", "02TYPE", "03", "03TYPE"});

        AddressBook book;
        EXPECT_EQ(LoadAddressBook(book, hive), 0) << c.broken;
        EXPECT_EQ(book.ManualEntries(), std::vector<std::string>{"HALL-1F\n10.0.0.1"}) << c.broken;
        book.Add("ROOM-301", {10, 0, 0, 9}, 22);
        ASSERT_EQ(SaveAddressBook(book, hive), 1);

        EXPECT_EQ(storedValues({"02", "02TYPE", "03", "03TYPE", "04", "04TYPE"}), before)
            << c.broken;
        AddressBook again;
        EXPECT_EQ(LoadAddressBook(again, hive), 0) << c.broken;
        EXPECT_EQ(again.ManualEntries(),
                  (std::vector<std::string>{"HALL-1F\n10.0.0.1", "ROOM-301\n10.0.0.9"}));
        ASSERT_EQ(SaveAddressBook(again, hive), 1);
        EXPECT_EQ(storedValues({"02", "02TYPE", "03", "03TYPE", "04", "04TYPE"}), before)
            << c.broken << ": a second round changes nothing";
        std::uint32_t count = 0;
        RegistryKey key(hive);
        ASSERT_EQ(key.OpenOrCreate(RegistryRoot::CurrentUser, AddressBookKeyPath()), 1);
        ASSERT_EQ(key.GetDword("Count", count), 1);
        EXPECT_EQ(count, 5U) << c.broken;
    }
}

TEST(AddressBookStore, HugeCountWithFewEntriesLoadsAtOnce) {
    TempFolder folder;
    const HiveFile hive = HiveIn(folder);
    Store(hive, 0xFFFFFFFFU, {{"00", "A\n10.0.0.1"}, {"05", "F\n10.0.0.6"}});
    AddressBook book;
    EXPECT_EQ(LoadAddressBook(book, hive), 0);
    EXPECT_EQ(book.Size(), 1U);
    ASSERT_EQ(book.Unread().size(), 1U);
    EXPECT_EQ(book.Unread()[0].entry->data, std::string("F\n10.0.0.6") + '\0');
}

TEST(AddressBookStore, FailedSaveKeepsTheStoredList) {
    TempFolder folder;
    HiveFile hive = HiveIn(folder);
    Store(hive, 1, {{"00", "A\n10.0.0.1"}, {"00TYPE", "22"}});
    const auto before = ReadFile(hive.path);
    hive.seam.writeBytes = [](int, const char*, std::size_t) -> long {
        errno = ENOSPC;
        return -1;
    };
    AddressBook empty;
    EXPECT_EQ(SaveAddressBook(empty, hive), 0);
    EXPECT_EQ(ReadFile(hive.path), before);
}

TEST(AddressBookStore, EmptyBookSavesAnEmptyList) {
    TempFolder folder;
    const HiveFile hive = HiveIn(folder);
    Store(hive, 1, {{"00", "A\n10.0.0.1"}});
    ASSERT_EQ(SaveAddressBook(AddressBook(), hive), 1);
    AddressBook book;
    EXPECT_EQ(LoadAddressBook(book, hive), 1);
    EXPECT_TRUE(book.Empty());
}

}  // namespace
}  // namespace lanterna

namespace lanterna {
namespace {

// ---- merge into the projector list -------------------------------------------------------------

ProjectorRecord FoundBySearch(const Octets& address) {
    ProjectorRecord record;
    record.origin = kOriginSearch;
    record.ipAddress = address;
    CopyText(record.address, FormatDotted(address));
    return record;
}

TEST(AddressBookMerge, AddsEntriesAsAddedByAddressWithTheirTypes) {
    AddressBook book;
    book.Append("ROOM-1\n192.168.1.5", "22");
    book.Append("\n192.168.1.6", "");
    book.Append("ABCDEFGHIJKLMNOPQRS\n256.1.1.1", "30x");
    ProjectorList list;
    EXPECT_EQ(MergeAddressBook(book, list), 3U);
    ASSERT_EQ(list.Size(), 3U);
    const ProjectorRecord& first = *list.At(0);
    EXPECT_EQ(first.origin, kOriginAddress);
    EXPECT_EQ(TextOf(first.projectorName), "ROOM-1");
    EXPECT_EQ(TextOf(first.address), "192.168.1.5");
    EXPECT_EQ(first.ipAddress, (Octets{192, 168, 1, 5}));
    EXPECT_EQ(first.imType, 22);
    EXPECT_TRUE(IsEmptyText(list.At(1)->projectorName));
    EXPECT_EQ(list.At(1)->imType, 0);
    EXPECT_EQ(TextOf(list.At(2)->projectorName), "ABCDEFGHIJKLMNO");
    EXPECT_EQ(TextOf(list.At(2)->address), "0.1.1.1");
    EXPECT_EQ(list.At(2)->imType, 30);
}

TEST(AddressBookMerge, PassesOverUnreadableEntriesAndAddressesAlreadyListed) {
    AddressBook book;
    book.Append("no line feed", "1");
    book.Append("SHORT\n10.0.0", "1");
    book.Append("CUT\n1.2.3.                4", "1");  // the fourth number lies past 20 bytes
    book.Append("FOUND\n10.0.0.7", "1");
    book.Append("TWICE\n10.0.0.8", "1");
    book.Append("TWICE\n10.0.0.8", "1");
    ProjectorList list;
    list.Append(FoundBySearch({10, 0, 0, 7}));
    EXPECT_EQ(MergeAddressBook(book, list), 1U);
    ASSERT_EQ(list.Size(), 2U);
    EXPECT_EQ(list.At(0)->origin, kOriginSearch);
    EXPECT_EQ(TextOf(list.At(1)->address), "10.0.0.8");
    EXPECT_EQ(book.Size(), 6U);
}

TEST(AddressBookMerge, StopsAtTheDisplayLimitWithoutLosingEntries) {
    ProjectorList list;
    for (std::size_t i = 0; i + 1 < ProjectorList::kDisplayLimit; ++i) {
        list.Append(FoundBySearch({10, 1, static_cast<std::uint8_t>(i / 256),
                                   static_cast<std::uint8_t>(i % 256)}));
    }
    AddressBook book;
    book.Add("A", {10, 2, 0, 1}, 0);
    book.Add("B", {10, 2, 0, 2}, 0);
    EXPECT_EQ(MergeAddressBook(book, list), 1U);
    EXPECT_EQ(list.Size(), ProjectorList::kDisplayLimit);
    EXPECT_EQ(TextOf(list.At(static_cast<std::ptrdiff_t>(ProjectorList::kDisplayLimit) - 1)
                         ->projectorName),
              "A");
    EXPECT_EQ(book.Size(), 2U);
}

}  // namespace
}  // namespace lanterna

// Password files as lanternactl reads them: the book of --passwords and the one password of
// --password-file line for line alike, both the owner's alone, each address once in the book;
// and a password too long for a projector never sent by query.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <sstream>
#include <string>

#include "tests/support/cli/CliHarness.h"
#include "tests/support/files/TempFolder.h"
#include "tools/lanternactl/Passwords.h"

namespace lanterna::cli {
namespace {

using test::TempFolder;
using test::WriteFile;

struct Streams {
    std::istringstream in;
    std::ostringstream out;
    std::ostringstream err;
    CliContext context{in, out, err, [](std::string_view) { return std::optional<std::string>(); },
                       nullptr};
};

std::string PrivateFile(const TempFolder& folder, const std::string& name,
                        const std::string& content, mode_t mode = 0600) {
    const std::string path = folder.File(name);
    WriteFile(path, content);
    ::chmod(path.c_str(), mode);
    return path;
}

TEST(PasswordFiles, BookAndOnePasswordKeepEverythingButTheLineEnd) {
    const struct Case {
        const char* line;      // as it stands in the file, after the address and its blank
        const char* password;  // what the projector is sent
    } cases[] = {
        {"pw \n", "pw "}, {"pw\r\n", "pw"}, {" pw\n", " pw"}, {"a#b c", "a#b c"}, {"\n", ""},
    };
    TempFolder folder;
    for (const Case& c : cases) {
        Streams book;
        CPasswords fromBook(book.context, "read");
        ASSERT_TRUE(fromBook.LoadBook(PrivateFile(
            folder, "book", std::string("# rooms\n\n10.0.0.7 ") + c.line + "\n")))
            << book.err.str();
        std::string problem;
        EXPECT_EQ(fromBook.Lookup("10.0.0.7", problem), c.password) << c.line;

        Streams one;
        CPasswords fromFile(one.context, "read");
        ASSERT_TRUE(fromFile.LoadOne(PrivateFile(folder, "one", c.line))) << one.err.str();
        EXPECT_EQ(fromFile.Lookup("10.0.0.7", problem), c.password) << c.line;
    }
}

TEST(PasswordFiles, RefusedWhenOthersMayReadThemOrAnAddressComesTwice) {
    TempFolder folder;
    for (const mode_t mode : {0640, 0604}) {
        Streams book;
        EXPECT_FALSE(CPasswords(book.context, "read")
                         .LoadBook(PrivateFile(folder, "book", "10.0.0.7 pw\n", mode)));
        EXPECT_NE(book.err.str().find("others than its owner may read it"), std::string::npos);
        Streams one;
        EXPECT_FALSE(
            CPasswords(one.context, "read").LoadOne(PrivateFile(folder, "one", "pw\n", mode)));
        EXPECT_NE(one.err.str().find("others than its owner may read it"), std::string::npos)
            << one.err.str();
    }
    Streams twice;
    const std::string path =
        PrivateFile(folder, "twice", "10.0.0.7 a\n10.0.0.8 b\n# again\n10.0.0.7 c\n");
    EXPECT_FALSE(CPasswords(twice.context, "set").LoadBook(path));
    EXPECT_EQ(twice.err.str(), "lanternactl set: " + path +
                                   ":4: 10.0.0.7 is listed on line 1 too; give each address one "
                                   "password\n");
}

// query measures the password before it connects, as read, set and passwd do.
TEST(PasswordFiles, QueryRefusesAPasswordTooLongNamingItsLength) {
    TempFolder folder;
    const std::string path = PrivateFile(folder, "long", "0123456789abcdefghij\n");
    test::CliSetup english;
    english.environment = {{"LANTERNA_LANG", "en"}};
    const test::CliRun run =
        test::RunCli({"query", "127.0.0.1", "NWPNAME?", "--password-file", path}, english);
    EXPECT_EQ(run.status, kExitFailed);
    EXPECT_EQ(run.err,
              "lanternactl query: the password given is 20 bytes long; a projector takes at most "
              "14\n");
}

}  // namespace
}  // namespace lanterna::cli

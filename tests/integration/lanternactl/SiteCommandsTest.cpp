// lanternactl on a site as a whole: backups, bounded writes and undone ones of simulated
// projectors on loopback addresses of their own (127.87.40.x and up).

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <sstream>

#include "tests/integration/lanternactl/ProjectorOnLoopback.h"
#include "tests/support/cli/CliHarness.h"

namespace lanterna::test {
namespace {

CliRun RunSiteCommand(const std::vector<std::string>& args) {
    CliSetup setup;
    setup.environment.emplace("LANTERNA_LANG", "en");
    return RunCli(args, setup);
}

std::vector<std::string> LinesOf(const std::string& path) {
    std::ifstream file(path);
    std::vector<std::string> lines;
    for (std::string line; std::getline(file, line);) {
        lines.push_back(line);
    }
    return lines;
}

std::string TextOfFile(const std::string& path) {
    std::ifstream file(path);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

mode_t ModeOf(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0 ? (info.st_mode & 0777) : 0;
}

std::size_t CountOfSets(const Lines& log) {
    return static_cast<std::size_t>(std::count_if(log.begin(), log.end(), [](const auto& line) {
        return line.find('?') == std::string::npos;
    }));
}

class BackupFolder {
  public:
    BackupFolder() : path(::testing::TempDir() + "lanterna-backup-" + std::to_string(getpid())) {
        std::filesystem::create_directory(path);
    }
    ~BackupFolder() { std::filesystem::remove_all(path); }
    BackupFolder(const BackupFolder&) = delete;
    BackupFolder& operator=(const BackupFolder&) = delete;
    const std::string path;
};

TEST(SiteBackup, AFolderPerRunAFileEachAndAnIndexOfEveryTarget) {
    sim::SimulatorConfig wired = CProjectorOnPort::ConfigFor("127.87.40.1");
    wired.name = "ROOM-201";
    sim::SimulatorConfig lab = CProjectorOnPort::ConfigFor("127.87.40.2");
    lab.name = "LAB-WL1";
    lab.imType = 22;
    lab.wireless = true;
    sim::SimulatorConfig office = CProjectorOnPort::ConfigFor("127.87.40.3", "pw");
    office.name = "HALL 1F";
    CProjectorOnPort first(wired);
    CProjectorOnPort second(lab);
    CProjectorOnPort third(office);
    const CTestFile book("site-book-87-40", "127.87.40.3 pw\n");
    const BackupFolder parent;

    // .9 does not answer: it is listed, the others are saved all the same.
    const auto run = RunSiteCommand(
        {"backup", parent.path, "127.87.40.1-3", "127.87.40.9", "--passwords", book.path});
    EXPECT_EQ(run.status, 1) << run.out << run.err;
    EXPECT_TRUE(Contains(run.out, "4 targets: 3 read, 1 not answering")) << run.out;
    std::vector<std::filesystem::path> runs;
    for (const auto& entry : std::filesystem::directory_iterator(parent.path)) {
        runs.push_back(entry.path());
    }
    ASSERT_EQ(runs.size(), 1U);
    const std::string folder = runs[0].string();
    EXPECT_TRUE(Contains(run.out, "backup: " + folder + " (3 settings files and index.csv)"))
        << run.out;

    const std::vector<std::string> index = LinesOf(folder + "/index.csv");
    ASSERT_EQ(index.size(), 5U);
    EXPECT_EQ(index[0],
              "file,address,name,wiredHardwareAddress,wirelessHardwareAddress,time,status,"
              "notBackedUp");
    const std::string roomFile = "ROOM-201_" + sim::DerivedMac({127, 87, 40, 1}) + ".ini";
    EXPECT_TRUE(index[1].starts_with(roomFile + ",127.87.40.1,ROOM-201,")) << index[1];
    EXPECT_TRUE(index[1].ends_with(",saved,")) << index[1];
    EXPECT_TRUE(index[2].ends_with(",saved,")) << index[2];
    // A blank in a name becomes '_' in the file's name; the password is named as not kept.
    EXPECT_TRUE(index[3].starts_with("HALL_1F_")) << index[3];
    EXPECT_TRUE(index[3].ends_with(",saved,password")) << index[3];
    EXPECT_EQ(index[4], ",127.87.40.9,,,,,not answering,");

    // The file reads back as a settings file: the name and the address as the projector has
    // them.
    const std::string room = TextOfFile(folder + "/" + roomFile);
    EXPECT_TRUE(Contains(room, "NM_PROJECTORNAME=ROOM-201")) << room;
    EXPECT_TRUE(Contains(room, "NM_IP=127.87.40.1")) << room;
    const auto show = RunSiteCommand({"show", folder + "/" + roomFile});
    EXPECT_EQ(show.status, 0) << show.err;

    // A second run in the same second makes a folder of its own; the first stays as it was.
    const auto again = RunSiteCommand({"backup", parent.path, "127.87.40.1", "--json"});
    EXPECT_EQ(again.status, 0) << again.err;
    const auto json = nlohmann::json::parse(again.out);
    ASSERT_EQ(json.size(), 1U);
    const std::string secondFolder = json[0]["folder"];
    EXPECT_NE(secondFolder, folder);
    EXPECT_EQ(json[0]["file"], roomFile);
    EXPECT_EQ(TextOfFile(folder + "/" + roomFile), room);
    EXPECT_EQ(LinesOf(folder + "/index.csv").size(), 5U);

    // A folder is made when it is missing, but not its parent: that is refused before anything
    // is read.
    const auto missing = RunSiteCommand({"backup", parent.path + "/none/deeper", "127.87.40.1"});
    EXPECT_NE(missing.status, 0);
    EXPECT_TRUE(Contains(missing.err, parent.path + "/none/deeper")) << missing.err;
    // What a backup holds is the owner's alone, key or none.
    EXPECT_EQ(ModeOf(folder + "/" + roomFile), 0600U);
    EXPECT_EQ(ModeOf(folder + "/index.csv"), 0600U);
    // A DIR that is no folder is refused before anything is read; a new one is made, and said.
    const std::size_t exchanges = first.Log().size();
    const auto notFolder = RunSiteCommand({"backup", folder + "/index.csv", "127.87.40.1"});
    EXPECT_EQ(notFolder.status, 1);
    EXPECT_TRUE(Contains(notFolder.err, folder + "/index.csv: ")) << notFolder.err;
    EXPECT_EQ(first.Log().size(), exchanges);
    const auto made = RunSiteCommand({"backup", parent.path + "/new", "127.87.40.1"});
    EXPECT_EQ(made.status, 0) << made.err;
    EXPECT_TRUE(Contains(made.err, "made the folder " + parent.path + "/new")) << made.err;
}

TEST(SiteBackup, AFileHoldingAWepKeyIsTheOwnersAlone) {
    sim::SimulatorConfig lab = CProjectorOnPort::ConfigFor("127.87.41.1");
    lab.name = "LAB-WL2";
    lab.wireless = true;
    CProjectorOnPort projector(lab);
    const BackupFolder parent;
    // Give it a WEP key first, as an administrator would.
    const auto set = RunSiteCommand({"set", "127.87.41.1", "wepEnabled=on", "wepKey=abcde"});
    ASSERT_EQ(set.status, 0) << set.out << set.err;
    const auto run = RunSiteCommand({"backup", parent.path, "127.87.41.1", "--json"});
    ASSERT_EQ(run.status, 0) << run.err;
    const auto json = nlohmann::json::parse(run.out);
    const std::string file =
        json[0]["folder"].get<std::string>() + "/" + json[0]["file"].get<std::string>();
    EXPECT_EQ(ModeOf(file), 0600U);
    EXPECT_TRUE(Contains(TextOfFile(file), "NM_WEPKEY=")) << TextOfFile(file);
}

// Two backups a write apart differ in what the write changed, folder against folder and file
// against file; the older file restored puts it back, and the projectors then match it.
TEST(SiteDiff, BackupsAWriteApartDifferAndTheOlderFileRestoresIt) {
    CProjectorOnPort first(CProjectorOnPort::ConfigFor("127.87.44.1"));
    CProjectorOnPort second(CProjectorOnPort::ConfigFor("127.87.44.2"));
    const BackupFolder parent;
    const auto backUp = [&parent] {
        const auto run =
            RunSiteCommand({"backup", parent.path, "127.87.44.1-2", "--json", "--wait", "1"});
        EXPECT_EQ(run.status, 0) << run.err;
        const auto saved = nlohmann::json::parse(run.out);
        const std::string folder = saved[0]["folder"];
        return std::pair{folder, folder + "/" + saved[0]["file"].get<std::string>()};
    };
    const auto [older, olderFile] = backUp();
    ASSERT_EQ(RunSiteCommand({"set", "127.87.44.1", "community=legacy1"}).status, 0);
    const auto [newer, newerFile] = backUp();
    for (const auto& [a, b] : {std::pair{older, newer}, std::pair{olderFile, newerFile}}) {
        const auto diff = RunSiteCommand({"diff", a, b});
        EXPECT_EQ(diff.status, 1) << diff.err;
        EXPECT_EQ(diff.out.find('\n'), diff.out.size() - 1) << "one line: " << diff.out;
        EXPECT_TRUE(Contains(diff.out, ": community: public here, legacy1 in ")) << diff.out;
    }
    const auto restore = RunSiteCommand({"restore", olderFile, "127.87.44.1-2", "--wait", "1"});
    EXPECT_EQ(restore.status, 0) << restore.out << restore.err;
    EXPECT_EQ(first.projector->Settings().community, "public");
    const auto same = RunSiteCommand({"diff", older, "127.87.44.1-2", "--wait", "1"});
    EXPECT_EQ(same.status, 0) << same.out << same.err;
    EXPECT_EQ(same.out, "");
    EXPECT_EQ(CountOfSets(second.Log()), 0U);
}

// One at a time, so that the order is known: nothing answers at .9, the first; once it has
// failed the others are never started, and say so.
TEST(SiteWrites, MaxFailuresStopsStartingAndTellsWhichWereNeverStarted) {
    CProjectorOnPort first(CProjectorOnPort::ConfigFor("127.87.42.1"));
    CProjectorOnPort second(CProjectorOnPort::ConfigFor("127.87.42.2"));
    const auto run = RunSiteCommand({"set", "127.87.42.9", "127.87.42.1-2", "community=site1",
                                     "-j", "1", "--max-failures", "1", "--wait", "1"});
    EXPECT_EQ(run.status, 1) << run.out << run.err;
    EXPECT_NE(run.out.find("not started: 1 projector had failed (--max-failures)"),
              std::string::npos)
        << run.out;
    EXPECT_EQ(CountOfSets(first.Log()) + CountOfSets(second.Log()), 0U);
    const auto bad = RunSiteCommand({"set", "127.87.42.1", "comunity=site1"});
    EXPECT_EQ(bad.status, 2);
    EXPECT_TRUE(Contains(bad.err, "unknown field 'comunity'; did you mean 'community'?"))
        << bad.err;
}

TEST(SiteHistory, AnUndoIsAWriteOfItsOwnThatCanBeUndone) {
    CProjectorOnPort projector(CProjectorOnPort::ConfigFor("127.87.43.1"));
    BackupFolder state;
    const auto run = [&state](std::vector<std::string> args) {
        args.insert(args.end(), {"--wait", "1"});
        CliSetup setup;
        setup.environment = {{"LANTERNA_LANG", "en"}, {"XDG_STATE_HOME", state.path}};
        return RunCli(args, setup);
    };
    const auto nothing = run({"history", "127.87.43.1"});
    EXPECT_EQ(nothing.status, 1);
    EXPECT_TRUE(Contains(nothing.err, "nothing is kept for ")) << nothing.err;

    ASSERT_EQ(run({"set", "127.87.43.1", "community=legacy1"}).status, 0);
    ASSERT_EQ(run({"set", "127.87.43.1", "community=avops1"}).status, 0);
    const auto listed = run({"history", "127.87.43.1", "--json"});
    ASSERT_EQ(listed.status, 0) << listed.err;
    const auto history = nlohmann::json::parse(listed.out);
    ASSERT_EQ(history["kept"].size(), 2U) << listed.out;
    ASSERT_EQ(history["changes"].size(), 2U) << listed.out;
    EXPECT_EQ(history["changes"][1]["sent"], nlohmann::json::array({"NWCNAME avops1"}));

    // The older write undone, shown first; a dry run sends nothing.
    const auto dry = run({"undo", "127.87.43.1", "2", "--dry-run"});
    EXPECT_EQ(dry.status, 0) << dry.err;
    EXPECT_TRUE(Contains(dry.out, "community: avops1 now, public before")) << dry.out;
    const auto undo = run({"undo", "127.87.43.1", "2"});
    EXPECT_EQ(undo.status, 0) << undo.out << undo.err;
    // The undo kept what it replaced as the newest entry, which undoes the undo; the projector
    // found by its hardware address among the targets.
    const std::string mac = history["hardwareAddresses"][0];
    CliSetup setup;
    setup.environment = {{"LANTERNA_LANG", "en"}, {"XDG_STATE_HOME", state.path}};
    setup.input = "127.87.43.1\n";
    const auto redo = RunCli({"undo", mac, "--targets", "-", "--wait", "1"}, setup);
    EXPECT_EQ(redo.status, 0) << redo.out << redo.err;
    EXPECT_TRUE(Contains(redo.out, "community: public now, avops1 before")) << redo.out;
    const auto beyond = run({"undo", "127.87.43.1", "5"});
    EXPECT_EQ(beyond.status, 2);
    EXPECT_TRUE(Contains(beyond.err, "'5' is no number from 1 to 4")) << beyond.err;
}

}  // namespace
}  // namespace lanterna::test

// The passwords of a job on a selection, through the engine's road with the workers stood in
// for: on a refusal asked again while the source has more to try. One prompt offers the same
// password for all; only those that refuse it are asked on their own, three prompts at most;
// what worked is remembered for the session, checked against the hardware address.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QObject>
#include <deque>
#include <map>

#include "dialogs/SessionPasswords.h"
#include "fleet/TargetRoad.h"
#include "platform/FixedText.h"
#include "ui/DialogCodes.h"

namespace mainwindowtest {
namespace {

using lanterna::dialogs::CSelectionPasswords;
using lanterna::dialogs::CSessionPasswords;
using lanterna::dialogs::PasswordPrompt;
using ::testing::ElementsAreArray;

struct Answer {
    int code;
    std::string password;
    bool sameForAll = false;
};

struct Projector {
    std::string address;
    std::string password;  // the one it takes
    std::string mac;
};

const std::vector<Projector> kProjectors = {{"10.1.1.1", "hall", "00A0B0C0D001"},
                                            {"10.1.1.2", "hall", "00A0B0C0D002"},
                                            {"10.1.1.3", "lab", "00A0B0C0D003"}};

// Stands in for the workers of one projector that asks for a password: the read opens with
// the one it takes and reports its hardware address, and refuses any other.
class CLockedProjector final : public lanterna::fleet::IWorkerDriver {
  public:
    explicit CLockedProjector(const Projector& projector) : projector_(projector) {}
    int Run(lanterna::WorkerMode mode, lanterna::ApplicationState& state) override {
        lanterna::ProjectorRecord& record = *state.SelectedRecord();
        if (mode == lanterna::WorkerMode::kProbe) {
            return 2;
        }
        if (lanterna::TextOf(record.password) != projector_.password) {
            return 0;
        }
        lanterna::CopyText(record.macAddress, projector_.mac);
        return 1;
    }

  private:
    const Projector& projector_;
};

// The engine's road for one projector: true when it was opened.
bool OpenWith(CSelectionPasswords& source, const Projector& projector) {
    lanterna::fleet::Target target;
    target.address = projector.address;
    target.name = "ROOM";
    target.imType = 21;
    CLockedProjector driver(projector);
    const lanterna::fleet::FleetNetwork network;
    const auto state = lanterna::fleet::StateFor(network);
    lanterna::fleet::OpenedTarget opened;
    lanterna::fleet::RoadFailure failure;
    return lanterna::fleet::OpenTarget(network, driver, source, target, *state, 1, "", opened,
                                       failure);
}

TEST(SelectionPasswords, OnePromptForAllThenOnlyTheRefusingAskedOnTheirOwn) {
    struct Case {
        const char* what;
        std::map<std::string, std::string> remembered;
        std::deque<Answer> answers;
        std::vector<std::string> asked;  // the addresses prompted for, "*" where all were offered
        std::vector<bool> opened;
    };
    const Case cases[] = {
        {"the same for all, one asked again",
         {},
         {{ui::IDOK, "hall", true}, {ui::IDOK, "lab"}},
         {"*10.1.1.1", "10.1.1.3"},
         {true, true, true}},
        {"remembered first; three prompts at most",
         {{"10.1.1.1", "hall"}},
         {{ui::IDOK, "hall"}, {ui::IDOK, "x"}, {ui::IDOK, "y"}, {ui::IDOK, "z"}},
         {"*10.1.1.2", "10.1.1.3", "10.1.1.3", "10.1.1.3"},
         {true, true, false}},
        {"a remembered password refused is asked for",
         {{"10.1.1.1", "old"}},
         {{ui::IDOK, "hall", true}, {ui::IDOK, "lab"}},
         {"*10.1.1.1", "10.1.1.3"},
         {true, true, true}},
        {"cancelling the prompt for all asks nobody else",
         {},
         {{ui::IDCANCEL, ""}},
         {"*10.1.1.1"},
         {false, false, false}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CSessionPasswords session;
        for (const auto& [address, password] : c.remembered) {
            session.Worked(address, "", password, false);
        }
        std::deque<Answer> answers = c.answers;
        std::vector<std::string> asked;
        QObject context;
        CSelectionPasswords source(
            session, kProjectors.size(),
            [&](PasswordPrompt& prompt) {
                asked.push_back((prompt.offerSameForAll ? "*" : "") +
                                prompt.projector.substr(prompt.projector.find('(') + 1, 8));
                if (answers.empty()) {
                    return static_cast<int>(ui::IDCANCEL);
                }
                const Answer answer = answers.front();
                answers.pop_front();
                prompt.password = answer.password;
                prompt.sameForAll = answer.sameForAll;
                return answer.code;
            },
            &context);
        std::vector<bool> opened;
        for (const Projector& projector : kProjectors) {
            opened.push_back(OpenWith(source, projector));
        }
        EXPECT_THAT(asked, ElementsAreArray(c.asked));
        EXPECT_THAT(opened, ElementsAreArray(c.opened));
        EXPECT_EQ(source.Prompts(), static_cast<int>(c.asked.size()));
        for (std::size_t i = 0; i < kProjectors.size(); ++i) {
            const auto known = session.Known(kProjectors[i].address, kProjectors[i].mac);
            EXPECT_EQ(known.value_or("-"), c.opened[i] ? kProjectors[i].password : "-")
                << kProjectors[i].address;
        }
    }
}

// Remembered by address, but not for another projector that has taken the address since; a
// change of password replaces what is remembered.
TEST(SelectionPasswords, RememberedPasswordBelongsToTheHardwareAddressItWorkedFor) {
    CSessionPasswords session;
    session.Worked("10.1.1.1", "00:a0:b0:c0:d0:01", "hall", false);
    EXPECT_EQ(session.Known("10.1.1.1", "").value_or("-"), "hall");
    EXPECT_EQ(session.Known("10.1.1.1", "00A0B0C0D001").value_or("-"), "hall");
    EXPECT_EQ(session.Known("10.1.1.1", "00A0B0C0D0FF").value_or("-"), "-");
    session.Changed("10.1.1.1", "00A0B0C0D001", "fresh", false);
    EXPECT_EQ(session.Known("10.1.1.1", "").value_or("-"), "fresh");
    session.Refused("10.1.1.1", "fresh");
    EXPECT_EQ(session.Known("10.1.1.1", "").value_or("-"), "-");
}

}  // namespace
}  // namespace mainwindowtest

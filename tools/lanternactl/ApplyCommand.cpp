#include <ostream>

#include "platform/AsciiCase.h"
#include "resources/StringIds.h"
#include "settings/SettingsFile.h"
#include "tools/lanternactl/Commands.h"
#include "tools/lanternactl/FileCommandSupport.h"
#include "tools/lanternactl/ProjectorSession.h"
#include "tools/lanternactl/WorkerRunner.h"

namespace lanterna::cli {

namespace {

constexpr std::string_view kName = "apply";

void Complain(CliContext& context, std::string_view text) {
    context.err << "lanternactl apply: " << text << "\n";
}

int RunApply(CliContext& context, CliArgs args) {
    SessionOptions options;
    std::vector<std::string> rest;
    std::optional<bool> testMail;
    if (!TakeSessionOptions(context, kName, args, options, rest) ||
        !TakeTestMailOption(context, kName, rest, testMail)) {
        return kExitUsage;
    }
    if (rest.size() != 2) {
        context.err << "lanternactl apply: usage: lanternactl " << kApplyCommand.usage << "\n";
        return kExitUsage;
    }
    const std::string& path = rest[0];
    if (!HasExtension(path, ".ini")) {
        Complain(context, path + ": " + MessageText(kStringNotSettingsFile));
        return kExitUsage;
    }
    ProfileDocument document;
    if (!LoadInputFile(context, kName, path, document)) {
        return kExitFailed;
    }
    ProjectorRecord file{};
    if (ReadSettingsDocument(file, document) != 1) {
        Complain(context, path + ": " + MessageText(kStringSettingsFileUnreadable));
        return kExitFailed;
    }
    ApplicationState state;
    if (!SelectAddress(context, kName, state, rest[1])) {
        return kExitUsage;
    }
    ProjectorRecord& record = *state.SelectedRecord();
    // A new entry knows no hardware address yet: it takes the file's, so the read below refuses
    // a projector other than the one the file was saved from.
    if (!IsEmptyText(record.macAddress) &&
        !EqualIgnoringCase(TextOf(record.macAddress), TextOf(file.macAddress))) {
        Complain(context, path + ": " + MessageText(kStringSettingsFileUnreadable));
        return kExitFailed;
    }
    if (IsEmptyText(record.macAddress)) {
        record.macAddress = file.macAddress;
    }
    CopySettings(file, record);

    CWorkerRunner runner(context, TestMailAnswer(context, testMail));
    if (const int opened = OpenProjector(context, kName, state, runner, options, 0);
        opened != kExitOk) {
        return opened;
    }
    return WriteAndClose(context, kName, runner, state, 1);
}

}  // namespace

const CliCommand kApplyCommand{
    "apply", "apply FILE.ini ADDRESS [--test-mail yes|no] [--password-file FILE]",
    "Apply a settings file to a projector: every setting it holds is sent, after checking that "
    "the projector is the one the file was saved from. Test mail as for set.",
    &RunApply};

}  // namespace lanterna::cli

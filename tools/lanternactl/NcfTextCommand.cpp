#include <ostream>

#include "settings/ConfigFile.h"
#include "tools/lanternactl/Commands.h"

namespace lanterna::cli {

namespace {

constexpr std::string_view kHeader = "[NetConfig]\n";

int RunNcfText(CliContext& context, CliArgs args) {
    if (args.size() != 1) {
        context.err << "Usage: lanternactl ncf-text FILE.ncf\n";
        return kExitUsage;
    }
    const std::string& path = args[0];
    std::string text;
    switch (ReadConfigFile(path, text)) {
        case kConfigFileRead:
            break;
        case kConfigFileBadLength:
            context.err << "lanternactl ncf-text: " << path
                        << " is not a network configuration file (its length is not a multiple "
                           "of 8 bytes)\n";
            return kExitFailed;
        case kConfigFileTooLarge:
            context.err << "lanternactl ncf-text: " << path
                        << " is too large to be a network configuration file\n";
            return kExitFailed;
        default:
            context.err << "lanternactl ncf-text: cannot read " << path << "\n";
            return kExitFailed;
    }
    // Any whole number of blocks deciphers to something; only our text starts with the header.
    if (text.rfind(kHeader, 0) != 0) {
        context.err << "lanternactl ncf-text: " << path
                    << " is not a network configuration file (it does not decipher to one)\n";
        return kExitFailed;
    }
    context.out << text;
    return kExitOk;
}

}  // namespace

const CliCommand kNcfTextCommand{"ncf-text", "ncf-text FILE.ncf",
                                 "Decipher a network configuration file and print its text.",
                                 &RunNcfText};

}  // namespace lanterna::cli

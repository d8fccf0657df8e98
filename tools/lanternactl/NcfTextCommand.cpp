#include <ostream>

#include "settings/ConfigFile.h"
#include "tools/lanternactl/Commands.h"
#include "tools/lanternactl/FileCommandSupport.h"

namespace lanterna::cli {

namespace {

constexpr std::string_view kHeader = "[NetConfig]\n";

int RunNcfText(CliContext& context, CliArgs args) {
    if (args.size() != 1) {
        context.err << "Usage: lanternactl ncf-text FILE.ncf\n";
        return kExitUsage;
    }
    const std::string& path = args[0];
    std::string bytes;
    if (!ReadInputFile(context, "ncf-text", path, kConfigFileMaxSize, bytes)) {
        return kExitFailed;
    }
    std::string text;
    if (!DecipherConfigFile(
            std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()), text)) {
        context.err << "lanternactl ncf-text: " << path
                    << " is not a network configuration file (its length is not a multiple "
                       "of 8 bytes)\n";
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

const CliCommand kNcfTextCommand{"ncf-text", &RunNcfText};

}  // namespace lanterna::cli

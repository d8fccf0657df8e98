#include "tools/lanternactl/FileCommandSupport.h"

#include <ostream>

#include "platform/ProfileFile.h"

namespace lanterna::cli {

bool LoadInputFile(CliContext& context, std::string_view command, const std::string& path,
                   ProfileDocument& document) {
    const char* problem = nullptr;
    switch (LoadProfile(path, document)) {
        case FileRead::Loaded:
            return true;
        case FileRead::Missing:
            problem = "no such file";
            break;
        case FileRead::TooLarge:
            problem = "file is larger than 4 MiB";
            break;
        case FileRead::Unreadable:
            problem = "cannot be read";
            break;
    }
    context.err << "lanternactl " << command << ": " << path << ": " << problem << "\n";
    return false;
}

std::string DumpJson(const nlohmann::ordered_json& json) {
    return json.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace);
}

}  // namespace lanterna::cli

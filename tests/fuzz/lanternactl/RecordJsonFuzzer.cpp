// Reads arbitrary bytes as a record's JSON text. A refused text leaves a one-line reason; an
// accepted record holds only values its fields can hold, prints as JSON (whatever bytes its
// texts carry) and reads back from that JSON to the very same record.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "tests/fuzz/files/FuzzSupport.h"
#include "tools/lanternactl/FileCommandSupport.h"
#include "tools/lanternactl/RecordJson.h"

namespace {

template <std::size_t N>
bool IsTerminated(const lanterna::FixedText<N>& text) {
    return std::memchr(text.data(), '\0', N) != nullptr;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace lanterna;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    // Zeroed whole, padding included, so that two records can be compared byte for byte.
    ProjectorRecord record;
    std::memset(&record, 0, sizeof record);
    std::string error;
    if (!cli::RecordFromJsonText(text, record, error)) {
        FUZZ_CHECK(!error.empty() && error.find('\n') == std::string::npos);
        return 0;
    }
    FUZZ_CHECK(IsTerminated(record.projectorName) && IsTerminated(record.essid) &&
               IsTerminated(record.mailTo1) && IsTerminated(record.securityPassword) &&
               IsTerminated(record.password) && IsTerminated(record.iniVersion));
    FUZZ_CHECK(record.password[0] == '\0');

    const nlohmann::ordered_json json = cli::RecordToJson(record);
    const std::string printed = cli::DumpJson(json);
    FUZZ_CHECK(!printed.empty());
    ProjectorRecord again;
    std::memset(&again, 0, sizeof again);
    FUZZ_CHECK(cli::RecordFromJson(nlohmann::json::parse(json.dump()), again, error));
    FUZZ_CHECK(again == record);
    return 0;
}

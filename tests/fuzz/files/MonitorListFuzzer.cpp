// Imports arbitrary bytes as a Sentro list file and checks that every record added may stand in
// the list: origin 2, never module type 20, a host address, no address twice, and no more than
// one record past the display limit.

#include <cstddef>
#include <cstdint>
#include <set>

#include "record/ProjectorList.h"
#include "settings/MonitorList.h"
#include "settings/ValidationRules.h"
#include "tests/fuzz/files/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace lanterna;
    const std::string& path = fuzz::WriteScratch(data, size);
    ProjectorList projectors;
    const int result = ImportMonitorList(path, projectors);
    FUZZ_CHECK(result == 0 || result == 1);
    FUZZ_CHECK(result == 1 || projectors.Empty());
    FUZZ_CHECK(projectors.Size() <= ProjectorList::kDisplayLimit + 1);
    std::set<std::uint32_t> seen;
    projectors.ForEach([&](std::size_t, const ProjectorRecord& record) {
        FUZZ_CHECK(record.origin == kOriginImport);
        FUZZ_CHECK(record.imType != kImTypeRejected);
        FUZZ_CHECK(IsHostAddress(record.ipAddress) == 1);
        FUZZ_CHECK(seen.insert(ToHostOrder(record.ipAddress)).second);
    });
    return 0;
}

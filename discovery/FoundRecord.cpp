#include "discovery/FoundRecord.h"

#include "discovery/SecondaryAnswer.h"
#include "record/DottedAddress.h"

namespace lanterna {

ProjectorRecord MakeFoundRecord(std::string_view name, std::string_view address,
                                std::uint8_t imType) {
    ProjectorRecord record{};
    record.origin = kOriginSearch;
    CopyText(record.projectorName, CutAtCharacter(name, record.projectorName.size() - 1));
    CopyText(record.address, address);
    ScanDottedInto(TextOf(record.address), record.ipAddress);
    record.imType = imType;
    return record;
}

}  // namespace lanterna

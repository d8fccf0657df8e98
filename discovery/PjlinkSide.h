#pragma once
// A projector's PJLink side: where PJLink answered and the hardware address its search reported.
// One projector found both ways is one record, matched by hardware address where the network
// module has told its own (a read), else by address.

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

#include "pjlink/Search.h"
#include "record/ProjectorList.h"

namespace lanterna {

// A hardware address as both ways in can be compared: hexadecimal digits in capitals, the
// separators left out; empty for anything else.
std::string ComparableHardwareAddress(std::string_view text);

// The address PJLink answers at: where its search answered when that differs from the record's
// own address, else the record's address.
std::string PjlinkAddressOf(const ProjectorRecord& record);

// Whether `answer` comes from the projector of `record`: the same hardware address where the
// module has reported one, else the same address.
bool IsPjlinkSideOf(const ProjectorRecord& record, const pjlink::SearchAnswer& answer);

// Marks `record` found by PJLink, keeping where the answer came from and its hardware address.
void JoinPjlinkSide(ProjectorRecord& record, const pjlink::SearchAnswer& answer);

// Once a read has told the module's hardware address of `read` (`moduleHardwareAddress`, in
// any of its forms): every other record only PJLink found whose search reported that hardware
// address is the same projector. Its PJLink side joins `read`, and it is removed from
// `projectors` (`removing` is told first). Returns the number removed.
std::size_t JoinPjlinkTwins(ProjectorList& projectors, ProjectorRecord& read,
                            std::string_view moduleHardwareAddress,
                            const std::function<void(const ProjectorRecord&)>& removing = nullptr);

}  // namespace lanterna

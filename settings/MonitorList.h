#pragma once
// Import of a Sentro list file: a profile file with section "PROJECTOR", key "Count" and for
// projector i the keys "Name_%03d", "Address_%03d" and "IMType_%03d".

#include <string>

#include "platform/ProfileDocument.h"
#include "record/ProjectorList.h"

namespace lanterna {

// Appends to `projectors` a record (origin 2, name, address text and octets, module type) for
// every projector of the file that has a module type other than 20 and a host address not yet
// in the list, in the order of i. Returns 1 when the file has a positive "Count" (also when
// nothing was added), else 0.
//
// Projector numbers without a module type key are passed over without any work, so a huge
// Count costs nothing. The import stops once the list holds more than
// ProjectorList::kDisplayLimit records: the caller drops every record past the limit anyway,
// and one record past it is enough to tell that the limit was reached.
int ImportMonitorList(const std::string& path, ProjectorList& projectors);

// The same on a document already in memory.
int ImportMonitorDocument(const ProfileDocument& document, ProjectorList& projectors);

}  // namespace lanterna

#pragma once
// The texts that tell the user how a read or a write ended when the result alone does not say
// enough: where a read lost its link, what a broken write did, which unread setting kept a write
// from sending. From the string table, in the given language, with the details filled in.

#include <string>
#include <string_view>

#include "platform/UserLanguage.h"
#include "state/ApplicationState.h"

namespace lanterna {

// String 200: the setting the read stopped at and how many were read.
std::string ReadLinkLostText(const ReadProgress& progress, Language language);

// String 201: the commands accepted, refused, left without answer and never sent (string 203
// for an empty list).
std::string WriteLinkLostText(const WriteProgress& progress, Language language);

// String 202: the unread setting that kept the write from sending anything.
std::string UnreadSettingText(std::string_view setting, Language language);

}  // namespace lanterna

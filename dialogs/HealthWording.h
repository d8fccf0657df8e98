#pragma once
// How the window words a projector's health over PJLink: every word from the string table, in
// the user's language. What a reading did not give is "not reported"; a projector not read
// (yet, or because its link failed) shows a dash in the columns and why in its details.

#include <string>

#include "pjlink/Reading.h"

namespace lanterna::dialogs {

// The power state; "not reported" when the reading gave none.
std::string PowerWords(const pjlink::Health& health);
// The most hours of any lamp ("1520"), "no lamp", or "not reported".
std::string LampHoursWords(const pjlink::Health& health);
// Every part that is not fine, in ERST's order ("lamp error, filter warning"), "none", or
// "not reported".
std::string ErrorWords(const pjlink::Health& health);
// Maker and product ("SIMULATED SIM-2000"), either alone, or "not reported".
std::string ModelWords(const pjlink::Health& health);
// "read" for a reading that ended well, else why it did not.
std::string HealthOutcomeWords(const pjlink::HealthRead& read);

// A link that needs a PJLink password the session does not have right.
bool WantsPjlinkPassword(pjlink::LinkError error);
// "switched on", "refused", "not now: warming up or cooling down", or why the link failed.
std::string PowerOutcomeWords(const pjlink::PowerOutcome& outcome, bool on);

// The details of a reading, a line each: power, lamp hours (with the threshold when reached),
// errors and model; for a reading that failed, why.
std::string HealthDetailWords(const pjlink::HealthRead& read, int lampHoursLimit);
// What asks for attention ("Needs attention: lamp error, lamp at 3100 hours (threshold
// 3000)"); empty when nothing does.
std::string AttentionWords(const pjlink::HealthRead& read, int lampHoursLimit);

}  // namespace lanterna::dialogs

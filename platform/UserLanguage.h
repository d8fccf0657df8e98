#pragma once
// The language of every text the user reads. Korean is the system's own language; English is
// the translation for everyone else. The choice follows the locale the way Linux programs pick
// their message catalogue, and LANTERNA_LANG ("ko" or "en") overrides it. This is the one place
// that decides; the string table, the dialog templates and the menu ask it.

#include "platform/ProcessEnvironment.h"

namespace lanterna {

enum class Language { Korean, English };

// The language `environment` asks for:
//   1. LANTERNA_LANG "ko" or "en" (a locale name such as "en_GB.UTF-8" counts by its language);
//      any other value is ignored;
//   2. the locale: the first set and non-empty of LC_ALL, LC_MESSAGES, LANG, and, unless that
//      locale is "C" or "POSIX" (or none is set), the first entry of LANGUAGE before it;
//   3. Korean for a Korean locale and for no locale at all ("C", "POSIX", "C.UTF-8", unset);
//      English for any other language.
Language ChooseLanguage(const EnvironmentLookup& environment);

// Whether no locale chose the language `environment` asks for (no LANTERNA_LANG, and the locale
// unset, "C", "POSIX" or "C.*" without a LANGUAGE entry that decides): Korean was taken for want
// of any choice.
bool ChosenWithoutLocale(const EnvironmentLookup& environment);

// The language of this process: chosen from the process environment on first use unless set
// before. Any thread may ask.
Language UserLanguage();

// Sets the language for the rest of the process (lanternactl from the environment it was given,
// the gallery for each language in turn, tests).
void SetUserLanguage(Language language);

// "ko" or "en".
std::string_view LanguageCode(Language language);

}  // namespace lanterna

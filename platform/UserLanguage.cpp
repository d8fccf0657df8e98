#include "platform/UserLanguage.h"

#include <atomic>

namespace lanterna {
namespace {

bool IsLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

char Lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// The language part of a locale name: "ko_KR.UTF-8" -> "ko", "en@euro" -> "en". Lower case.
std::string LanguagePart(std::string_view locale) {
    std::string part;
    for (const char c : locale) {
        if (!IsLetter(c)) {
            break;
        }
        part.push_back(Lower(c));
    }
    return part;
}

// The locales that stand for no language: the program's own texts are shown.
bool IsNeutralLocale(std::string_view locale) {
    return locale.empty() || locale == "C" || locale == "POSIX" || locale.starts_with("C.");
}

std::optional<Language> LanguageOfLocale(std::string_view locale) {
    if (IsNeutralLocale(locale)) {
        return Language::Korean;
    }
    const std::string part = LanguagePart(locale);
    if (part.empty()) {
        return std::nullopt;
    }
    return part == "ko" ? Language::Korean : Language::English;
}

std::string SetValue(const EnvironmentLookup& environment, std::string_view name) {
    std::optional<std::string> value = environment ? environment(name) : std::nullopt;
    return value ? std::move(*value) : std::string();
}

// The locale of messages, as setlocale(LC_MESSAGES, "") finds it.
std::string MessagesLocale(const EnvironmentLookup& environment) {
    for (const std::string_view name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        std::string value = SetValue(environment, name);
        if (!value.empty()) {
            return value;
        }
    }
    return "C";
}

// The first entry of the LANGUAGE priority list ("de_DE:en" -> "de_DE"), skipping empty ones.
std::string FirstPreferredLanguage(const EnvironmentLookup& environment) {
    const std::string list = SetValue(environment, "LANGUAGE");
    std::string_view rest = list;
    while (!rest.empty()) {
        const std::size_t colon = rest.find(':');
        const std::string_view entry = rest.substr(0, colon);
        if (!entry.empty()) {
            return std::string(entry);
        }
        rest = colon == std::string_view::npos ? std::string_view() : rest.substr(colon + 1);
    }
    return {};
}

std::atomic<Language>& CurrentLanguage() {
    static std::atomic<Language> current{ChooseLanguage(&ProcessEnvironment)};
    return current;
}

}  // namespace

Language ChooseLanguage(const EnvironmentLookup& environment) {
    const std::string forced = LanguagePart(SetValue(environment, "LANTERNA_LANG"));
    if (forced == "ko") {
        return Language::Korean;
    }
    if (forced == "en") {
        return Language::English;
    }
    const std::string locale = MessagesLocale(environment);
    // As with message catalogues, LANGUAGE counts only once a locale other than "C" is set.
    if (locale != "C" && locale != "POSIX") {
        const std::string preferred = FirstPreferredLanguage(environment);
        if (const std::optional<Language> language = LanguageOfLocale(preferred);
            !preferred.empty() && language) {
            return *language;
        }
    }
    return LanguageOfLocale(locale).value_or(Language::English);
}

bool ChosenWithoutLocale(const EnvironmentLookup& environment) {
    const std::string forced = LanguagePart(SetValue(environment, "LANTERNA_LANG"));
    const std::string locale = MessagesLocale(environment);
    if (forced == "ko" || forced == "en" || !IsNeutralLocale(locale)) {
        return false;
    }
    const std::string preferred = FirstPreferredLanguage(environment);
    return locale == "C" || locale == "POSIX" || preferred.empty() || IsNeutralLocale(preferred);
}

Language UserLanguage() {
    return CurrentLanguage().load(std::memory_order_relaxed);
}

void SetUserLanguage(Language language) {
    CurrentLanguage().store(language, std::memory_order_relaxed);
}

std::string_view LanguageCode(Language language) {
    return language == Language::Korean ? "ko" : "en";
}

}  // namespace lanterna

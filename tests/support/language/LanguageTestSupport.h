#pragma once
// Helpers for tests of the two languages.

#include <cstdint>
#include <string_view>

#include "platform/UserLanguage.h"

namespace lanterna::test {

// Sets the user's language while it lives and puts the one before back.
class ScopedLanguage {
  public:
    explicit ScopedLanguage(Language language) : previous_(UserLanguage()) {
        SetUserLanguage(language);
    }
    ~ScopedLanguage() { SetUserLanguage(previous_); }
    ScopedLanguage(const ScopedLanguage&) = delete;
    ScopedLanguage& operator=(const ScopedLanguage&) = delete;

  private:
    Language previous_;
};

// The first character of `text` (UTF-8) that belongs to Korean writing and has no place in an
// English text: Hangul syllables and letters, CJK punctuation and full-width forms (such as
// "１" or "？"). 0 when there is none.
inline std::uint32_t KoreanScriptCharacter(std::string_view text) {
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        std::size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        std::uint32_t value = length == 1   ? lead
                              : length == 2 ? lead & 0x1Fu
                              : length == 3 ? lead & 0x0Fu
                                            : lead & 0x07u;
        for (std::size_t k = 1; k < length && i + k < text.size(); ++k) {
            value = (value << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3Fu);
        }
        const bool korean = (value >= 0x1100 && value <= 0x11FF) ||  // Hangul letters
                            (value >= 0x3000 && value <= 0x303F) ||  // CJK punctuation
                            (value >= 0x3130 && value <= 0x318F) ||  // Hangul compatibility letters
                            (value >= 0xA960 && value <= 0xA97F) ||  // Hangul letters, extended
                            (value >= 0xAC00 && value <= 0xD7FF) ||  // Hangul syllables
                            (value >= 0xFF00 && value <= 0xFFEF);    // full-width forms
        if (korean) {
            return value;
        }
        i += length;
    }
    return 0;
}

}  // namespace lanterna::test

#include "ui/DialogUnits.h"

#include <QFontMetrics>
#include <QStringList>
#include <cstdint>

namespace ui {

int MulDiv(int a, int b, int c) {
    if (c == 0) {
        return 0;
    }
    const std::int64_t product = static_cast<std::int64_t>(a) * b;
    const std::int64_t half = (c < 0 ? -c : c) / 2;
    const bool negative = (product < 0) != (c < 0);
    const std::int64_t magnitude = (product < 0 ? -product : product);
    const std::int64_t divisor = (c < 0 ? -c : c);
    const std::int64_t rounded = (magnitude + half) / divisor;
    return static_cast<int>(negative ? -rounded : rounded);
}

int DluToPixelsX(int units, const DialogBaseUnits& base) {
    return MulDiv(units, base.x, 4);
}

int DluToPixelsY(int units, const DialogBaseUnits& base) {
    return MulDiv(units, base.y, 8);
}

QRect DluToPixels(const DluRect& rect, const DialogBaseUnits& base) {
    return QRect(DluToPixelsX(rect.x, base), DluToPixelsY(rect.y, base),
                 DluToPixelsX(rect.width, base), DluToPixelsY(rect.height, base));
}

DialogBaseUnits MeasureBaseUnits(const QFont& font) {
    const QFontMetrics metrics(font);
    const int letters = metrics.horizontalAdvance(
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    // Half-pixel rounding of letters / 52 done in integers, as the platform measured it.
    return DialogBaseUnits{(letters / 26 + 1) / 2, metrics.ascent() + metrics.descent()};
}

QFont DialogFont() {
    QFont font;
    font.setFamilies({QStringLiteral("NanumGothic"), QStringLiteral("Noto Sans CJK KR"),
                      QStringLiteral("UnDotum"), QStringLiteral("DejaVu Sans"),
                      QStringLiteral("Sans Serif")});
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(12);
    // NanumGothic at 12 pixels under the desktop's usual light (vertical-only) hinting has its
    // period snapped one pixel below the baseline, where it reads as a comma ("2,00", every
    // address). The font's own full hinting keeps the period on the baseline; the dialog units
    // stay the same (the letters' advances do not change), only Hangul runs a pixel or two
    // narrower.
    font.setHintingPreference(QFont::PreferFullHinting);
    return font;
}

}  // namespace ui

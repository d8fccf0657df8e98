#include "ui/Text.h"

namespace ui {

QString ToQString(std::string_view utf8) {
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

std::string ToUtf8(const QString& text) {
    const QByteArray bytes = text.toUtf8();
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

std::size_t Utf8LengthAt(const QString& text, qsizetype index, qsizetype* span) {
    const char16_t unit = text.at(index).unicode();
    qsizetype units = 1;
    std::size_t bytes = 0;
    if (QChar::isHighSurrogate(unit) && index + 1 < text.size() &&
        QChar::isLowSurrogate(text.at(index + 1).unicode())) {
        units = 2;
        bytes = 4;
    } else if (unit < 0x80) {
        bytes = 1;
    } else if (unit < 0x800) {
        bytes = 2;
    } else {
        bytes = 3;  // includes a lone surrogate, which UTF-8 conversion replaces by U+FFFD
    }
    if (span != nullptr) {
        *span = units;
    }
    return bytes;
}

std::size_t Utf8Length(const QString& text) {
    std::size_t total = 0;
    for (qsizetype index = 0; index < text.size();) {
        qsizetype span = 1;
        total += Utf8LengthAt(text, index, &span);
        index += span;
    }
    return total;
}

QString TruncateToUtf8Bytes(const QString& text, std::size_t limit) {
    std::size_t total = 0;
    qsizetype index = 0;
    while (index < text.size()) {
        qsizetype span = 1;
        const std::size_t bytes = Utf8LengthAt(text, index, &span);
        if (total + bytes > limit) {
            break;
        }
        total += bytes;
        index += span;
    }
    return text.left(index);
}

}  // namespace ui

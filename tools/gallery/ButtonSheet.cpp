#include "ButtonSheet.h"

#include <QApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QWidget>
#include <string>
#include <vector>

#include "platform/UserLanguage.h"
#include "skin/SkinButton.h"
#include "skin/SkinLabel.h"
#include "skin/SkinPaint.h"
#include "skin/SkinPalette.h"
#include "ui/DialogUnits.h"

namespace lanterna::gallery {
namespace {

constexpr QSize kButton(96, 26);
constexpr QSize kTallButton(96, 44);
constexpr int kGap = 10;
constexpr int kCaptionHeight = 18;

class SheetBackground : public QWidget {
  public:
    using QWidget::QWidget;

  protected:
    void paintEvent(QPaintEvent*) override {
        const skin::SkinPalette& colours = skin::CurrentSkinPalette();
        QPainter painter(this);
        painter.drawImage(QPoint(0, 0),
                          skin::GradientImage(size(), devicePixelRatioF(), colours.clientTop,
                                              colours.clientBottom));
    }
};

// The buttons' texts in each language: a short one and one that wraps in the tall button.
struct SheetTexts {
    const char* button;
    const char* multiLine;
};

constexpr SheetTexts kKoreanTexts{"확인", "여러 줄로 나뉘는 단추 글자"};
constexpr SheetTexts kEnglishTexts{"OK", "A button text on two lines"};

struct Look {
    const char* name;
    bool hover = false;
    bool pressed = false;
    bool disabled = false;
    bool focused = false;
    bool isDefault = false;
    bool flat = false;
    bool multiLine = false;
};

void Hover(QWidget& button) {
    const QPointF inside(5, 5);
    QMouseEvent move(QEvent::MouseMove, inside, inside, QPointF(button.mapToGlobal(QPoint(5, 5))),
                     Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(&button, &move);
}

}  // namespace

QImage RenderButtonSheet() {
    const std::vector<Look> looks = {
        {.name = "normal"},
        {.name = "hover", .hover = true},
        {.name = "pressed", .pressed = true},
        {.name = "hover+pressed", .hover = true, .pressed = true},
        {.name = "disabled", .disabled = true},
        {.name = "focused", .focused = true},
        {.name = "default", .isDefault = true},
        {.name = "flat", .flat = true},
        {.name = "flat hover", .hover = true, .flat = true},
        {.name = "multi-line", .multiLine = true},
    };
    const skin::SkinPalette& colours = skin::CurrentSkinPalette();
    SheetBackground sheet;
    sheet.setFont(ui::DialogFont());
    const int columns = 5;
    const int rows = static_cast<int>((looks.size() + columns - 1) / columns);
    const int cellWidth = kButton.width() + kGap;
    const int cellHeight = kCaptionHeight + kTallButton.height() + kGap;
    sheet.resize(kGap + columns * cellWidth, kGap + rows * cellHeight);

    const SheetTexts& texts = UserLanguage() == Language::Korean ? kKoreanTexts : kEnglishTexts;
    std::vector<skin::CSkinButton*> focusable;
    for (std::size_t index = 0; index < looks.size(); ++index) {
        const Look& look = looks[index];
        const int x = kGap + static_cast<int>(index % columns) * cellWidth;
        const int y = kGap + static_cast<int>(index / columns) * cellHeight;
        auto* caption = new skin::CSkinLabel(colours, &sheet);
        caption->setText(QString::fromLatin1(look.name));
        caption->setGeometry(x, y, kButton.width(), kCaptionHeight);

        auto* button = new skin::CSkinButton(colours, &sheet);
        button->setText(QString::fromUtf8(look.multiLine ? texts.multiLine : texts.button));
        button->setGeometry(
            QRect(QPoint(x, y + kCaptionHeight), look.multiLine ? kTallButton : kButton));
        button->SetMultiLine(look.multiLine);
        button->setFlat(look.flat);
        button->setDefault(look.isDefault);
        button->setEnabled(!look.disabled);
        button->setDown(look.pressed);
        if (look.hover) {
            Hover(*button);
        }
        if (look.focused) {
            focusable.push_back(button);
        }
    }
    // The focus frame is drawn only on the window's focused button.
    sheet.show();
    sheet.activateWindow();
    if (!focusable.empty()) {
        focusable.front()->setFocus(Qt::OtherFocusReason);
    }
    QApplication::processEvents();
    const QImage image = sheet.grab().toImage();
    sheet.hide();
    return image;
}

}  // namespace lanterna::gallery

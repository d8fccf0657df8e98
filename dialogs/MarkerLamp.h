#pragma once
// CMarkerLamp: the change marker at the right end of a settings row of the network settings
// dialog. A three-state check box that paints its whole area in one colour by its state:
//   0 grey  (RGB 155, 155, 161)  the entry is as the projector reported it
//   1 red   (RGB 255, 0, 0)      the projector refused the setting in the last write
//   2 green (RGB 0, 255, 0)      the entry now differs from what the projector reported
// A click steps it 2 -> 1 -> 0 -> 2. It repaints itself, without erasing, on every change of
// its state.

#include <QColor>

#include "ui/Controls.h"

namespace lanterna::dialogs {

class CMarkerLamp : public ui::CCheckBox {
  public:
    explicit CMarkerLamp(QWidget* parent = nullptr);

    // The colour of check state `state` (0, 1 or 2).
    static QColor ColourOf(int state);

  protected:
    void nextCheckState() override;
    void paintEvent(QPaintEvent* event) override;
    bool hitButton(const QPoint& position) const override;
};

}  // namespace lanterna::dialogs

#pragma once
// CSkinProgress: the progress bar of the progress dialog, a bar gradient from the left edge over
// a background gradient. The bar is (position - lower) / (upper - lower) of the width, cut to
// whole pixels: nothing at the lower bound, the full width at the upper bound.

#include "skin/SkinPalette.h"
#include "ui/Controls.h"

namespace lanterna::skin {

class CSkinProgress : public ui::CProgressBar {
  public:
    explicit CSkinProgress(const SkinPalette& palette, QWidget* parent = nullptr);

    // Width in pixels of the bar at `position` in lower..upper over `width` pixels; an empty
    // range or a position below it gives 0, one above it the full width.
    static int BarWidth(int position, int lower, int upper, int width);

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QRgb backTop_;
    QRgb backBottom_;
    QRgb barTop_;
    QRgb barBottom_;
};

}  // namespace lanterna::skin

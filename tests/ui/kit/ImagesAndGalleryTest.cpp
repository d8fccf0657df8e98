// The program's own icons and bitmap, and rendering dialogs into images.
#include <gtest/gtest.h>

#include <QImage>
#include <QSet>

#include "ui/Dialog.h"
#include "ui/DialogTemplate.h"
#include "ui/Gallery.h"
#include "ui/ResourceImages.h"

namespace {

int OpaquePixels(const QImage& image) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            count += qAlpha(image.pixel(x, y)) > 0 ? 1 : 0;
        }
    }
    return count;
}

// Pixels that differ from the colour of the top-left corner.
int PixelsUnlikeCorner(const QImage& image) {
    const QRgb corner = image.pixel(0, 0);
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            count += image.pixel(x, y) != corner ? 1 : 0;
        }
    }
    return count;
}

// ---------------------------------------------------------------- icons and bitmap

TEST(Images, EveryIconIsDrawnAtEachSize) {
    const std::vector<int> ids = ui::IconResourceIds();
    for (const int id : {128, 143, 144, 145, 147, 148, 150, 152, 155, 156}) {
        EXPECT_NE(std::find(ids.begin(), ids.end(), id), ids.end()) << id;
        for (const int size : {16, 32, 48}) {
            const QImage image = ui::LoadIconPixmap(id, size).toImage();
            ASSERT_EQ(image.size(), QSize(size, size)) << id;
            // Drawn, but not a filled square: an icon has a transparent surround.
            const int opaque = OpaquePixels(image);
            EXPECT_GT(opaque, size * size / 5) << id << " at " << size;
            EXPECT_LT(opaque, size * size) << id << " at " << size;
        }
        EXPECT_FALSE(ui::LoadIconResource(id).isNull()) << id;
    }
}

TEST(Images, IconsAreTellableApart) {
    QSet<QByteArray> seen;
    for (const int id : ui::IconResourceIds()) {
        const QImage image = ui::LoadIconPixmap(id).toImage();
        const QByteArray bytes(reinterpret_cast<const char*>(image.constBits()),
                               image.sizeInBytes());
        EXPECT_FALSE(seen.contains(bytes)) << id;
        seen.insert(bytes);
    }
}

TEST(Images, UnknownIdsGiveNullImages) {
    EXPECT_TRUE(ui::LoadIconPixmap(999).isNull());
    EXPECT_TRUE(ui::LoadIconResource(999).isNull());
    EXPECT_TRUE(ui::LoadBitmapResource(128).isNull());
}

TEST(Images, ListBackgroundIsASubtleTile) {
    const QImage tile = ui::LoadBitmapResource(ui::ResourceId::kListBackground).toImage();
    ASSERT_FALSE(tile.isNull());
    EXPECT_GE(tile.width(), 8);
    EXPECT_GT(PixelsUnlikeCorner(tile), 0);  // has a pattern
    for (int y = 0; y < tile.height(); ++y) {
        for (int x = 0; x < tile.width(); ++x) {
            EXPECT_GT(qGray(tile.pixel(x, y)), 200) << x << "," << y;  // stays pale
        }
    }
}

// ---------------------------------------------------------------- gallery rendering

TEST(Gallery, MessageTemplateRendersOffscreenAndIsNotBlank) {
    ui::CDialog dialog(146);
    ASSERT_TRUE(dialog.Create());
    dialog.SetDlgItemText(1095, "프로젝터 연결에 실패했습니다.");
    const QImage image = ui::RenderDialog(dialog);
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.size(), dialog.size() * image.devicePixelRatio());
    // Buttons, icons and text leave a good share of pixels unlike the background.
    EXPECT_GT(PixelsUnlikeCorner(image), image.width() * image.height() / 50);
    // The text label is drawn: its area is not uniform.
    const QRect label = dialog.GetDlgItem(1095)->geometry();
    EXPECT_GT(PixelsUnlikeCorner(image.copy(label)), 20);
}

TEST(Gallery, EveryTemplateRenders) {
    for (const int id : ui::DialogTemplateIds()) {
        const ui::DialogTemplate* dialogTemplate = ui::FindDialogTemplate(id);
        if (dialogTemplate->controls.empty()) {
            continue;  // bare templates that other tests register
        }
        const QImage image = ui::RenderTemplate(id);
        ASSERT_FALSE(image.isNull()) << id;
        EXPECT_GT(image.width(), dialogTemplate->width) << id;
        EXPECT_GT(PixelsUnlikeCorner(image), 0) << id;
    }
    EXPECT_TRUE(ui::RenderTemplate(99999).isNull());
}

}  // namespace

// The large-icon list: index-stable rows, hit-testing, notifications and file drops.
#include <QDropEvent>
#include <QMimeData>
#include <QSignalSpy>
#include <QTest>
#include <QUrl>

#include "KitTestSupport.h"
#include "ui/DialogCodes.h"
#include "ui/ListView.h"
#include "ui/ResourceImages.h"

namespace kittest {
namespace {

using ui::CDialog;
using ui::CListView;

constexpr int kMainTemplate = 102;
constexpr int kList = 1003;

class ListView : public SessionTest {
  protected:
    void SetUp() override {
        SessionTest::SetUp();
        ASSERT_TRUE(dialog_.Create());
        list_ = dialog_.ListView(kList);
        ASSERT_NE(list_, nullptr);
        list_->SetImageList({144, 143, 145, 155, 156});
        list_->SetBackgroundTile(ui::LoadBitmapResource(ui::ResourceId::kListBackground));
    }

    void Fill(int rows) {
        for (int row = 0; row < rows; ++row) {
            list_->InsertItem(row, "name" + std::to_string(row) + "\n10.0.0." + std::to_string(row),
                              row % 5);
        }
    }

    // Runs `steps` on the main window, shown and active.
    void WithRunningList(const std::function<void(CDialog&, CListView&)>& steps) {
        ui::test::RunModal(dialog_, [&](CDialog& d) {
            CListView& list = *d.ListView(kList);
            list.SetImageList({144, 143, 145, 155, 156});
            for (int row = 0; row < 4; ++row) {
                list.InsertItem(row, "name" + std::to_string(row) + "\naddress", 2);
            }
            steps(d, list);
            d.EndDialog(ui::IDCANCEL);
        });
    }

    CDialog dialog_{kMainTemplate};
    CListView* list_ = nullptr;
};

QPoint CentreOf(const CListView& list, int row) {
    return list.ItemRect(row).center();
}

QIcon IconOf(const CListView& list, int row) {
    return list.model()->index(row, 0).data(Qt::DecorationRole).value<QIcon>();
}

// ---------------------------------------------------------------- rows

TEST_F(ListView, RowsStayIndexedAsInsertedAndDeleted) {
    Fill(5);
    EXPECT_EQ(list_->ItemCount(), 5);
    EXPECT_TRUE(list_->DeleteItem(2));
    EXPECT_EQ(list_->ItemCount(), 4);
    EXPECT_EQ(list_->ItemText(2), "name3\n10.0.0.3");
    EXPECT_EQ(list_->InsertItem(1, "between", 4), 1);
    EXPECT_EQ(list_->ItemText(1), "between");
    EXPECT_EQ(list_->ItemText(2), "name1\n10.0.0.1");
    EXPECT_EQ(list_->ItemImage(1), 4);
    EXPECT_EQ(list_->InsertItem(99, "last", 0), 5);  // clamped to the end
    EXPECT_FALSE(list_->DeleteItem(6));
    EXPECT_EQ(list_->ItemImage(6), -1);
    EXPECT_TRUE(list_->SetItemText(0, "renamed"));
    EXPECT_EQ(list_->ItemText(0), "renamed");
    list_->DeleteAllItems();
    EXPECT_EQ(list_->ItemCount(), 0);
}

TEST_F(ListView, ImagesComeFromTheImageList) {
    Fill(5);
    EXPECT_EQ(list_->ImageCount(), 5);
    EXPECT_FALSE(IconOf(*list_, 3).isNull());
    EXPECT_EQ(list_->iconSize(), QSize(32, 32));
    list_->InsertItem(0, "no image", 9);
    EXPECT_TRUE(IconOf(*list_, 0).isNull());
}

TEST_F(ListView, TwoLineLabelsGetRoomForBothLines) {
    Fill(1);
    list_->resize(400, 300);
    const QRect rect = list_->ItemRect(0);
    EXPECT_GE(rect.height(), 32 + 2 * list_->fontMetrics().height());
}

TEST_F(ListView, SelectionIsSingleAndShownWithoutFocus) {
    Fill(4);
    list_->SelectRow(2, false);
    EXPECT_EQ(list_->SelectedRow(), 2);
    list_->SelectRow(3, false);
    EXPECT_EQ(list_->SelectedRow(), 3);
    EXPECT_EQ(list_->SelectedRows(), std::vector<int>{3});
    list_->SelectRow(-1, false);
    EXPECT_EQ(list_->SelectedRow(), -1);
    const QPalette colours = list_->palette();
    EXPECT_EQ(colours.brush(QPalette::Inactive, QPalette::Highlight),
              colours.brush(QPalette::Active, QPalette::Highlight));
    EXPECT_EQ(colours.brush(QPalette::Base).style(), Qt::TexturePattern);
}

// ---------------------------------------------------------------- mouse

TEST_F(ListView, HitTestFindsRowsAndEmptySpace) {
    WithRunningList([](CDialog&, CListView& list) {
        for (int row = 0; row < 4; ++row) {
            EXPECT_EQ(list.HitTest(CentreOf(list, row)), row);
        }
        const QRect viewport = list.viewport()->rect();
        EXPECT_EQ(list.HitTest(viewport.bottomRight() - QPoint(2, 2)), -1);
    });
}

TEST_F(ListView, DoubleClickNotifiesWithTheRowUnderThePointer) {
    std::vector<int> rows;
    dialog_.OnCommand(kList, ui::Notify::DoubleClicked, [&] {
        const CListView& list = *dialog_.ListView(kList);
        rows.push_back(list.HitTest(list.LastMousePoint()));
    });
    WithRunningList([](CDialog&, CListView& list) {
        QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, CentreOf(list, 2));
        QTest::mouseDClick(list.viewport(), Qt::LeftButton, {},
                           list.viewport()->rect().bottomRight() - QPoint(2, 2));
    });
    EXPECT_EQ(rows, (std::vector<int>{2, -1}));
}

TEST_F(ListView, RightClickSelectsTheRowAndNotifies) {
    int selectedAtNotice = -2;
    dialog_.OnCommand(kList, ui::Notify::RightClicked,
                      [&] { selectedAtNotice = dialog_.ListView(kList)->SelectedRow(); });
    WithRunningList([](CDialog&, CListView& list) {
        QSignalSpy spy(&list, &CListView::rightClicked);
        QTest::mouseClick(list.viewport(), Qt::RightButton, {}, CentreOf(list, 1));
        ASSERT_EQ(spy.count(), 1);
        EXPECT_EQ(spy.at(0).at(0).toInt(), 1);
    });
    EXPECT_EQ(selectedAtNotice, 1);
}

// ---------------------------------------------------------------- drops

TEST_F(ListView, DropsCarryOnlyLocalPaths) {
    Fill(4);
    list_->resize(500, 300);
    std::vector<std::vector<std::string>> drops;
    std::vector<int> dropRows;
    QObject::connect(list_, &CListView::filesDropped,
                     [&](QPoint point, const std::vector<std::string>& paths) {
                         drops.push_back(paths);
                         dropRows.push_back(list_->HitTest(point));
                     });
    QMimeData mixed;
    mixed.setUrls({QUrl::fromLocalFile(QString::fromUtf8("/tmp/설정.ini")),
                   QUrl(QStringLiteral("https://example.invalid/a.ini")),
                   QUrl::fromLocalFile(QStringLiteral("/tmp/b.INI"))});
    // Qt delivers a drop only to the widget that accepted the drag's entry.
    QDragEnterEvent enter(CentreOf(*list_, 3), Qt::CopyAction, &mixed, Qt::LeftButton,
                          Qt::NoModifier);
    QCoreApplication::sendEvent(list_->viewport(), &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(CentreOf(*list_, 3)), Qt::CopyAction, &mixed, Qt::LeftButton,
                    Qt::NoModifier);
    QCoreApplication::sendEvent(list_->viewport(), &drop);
    EXPECT_TRUE(drop.isAccepted());

    QMimeData remoteOnly;
    remoteOnly.setUrls({QUrl(QStringLiteral("https://example.invalid/a.ini"))});
    QDragEnterEvent refused(CentreOf(*list_, 0), Qt::CopyAction, &remoteOnly, Qt::LeftButton,
                            Qt::NoModifier);
    QCoreApplication::sendEvent(list_->viewport(), &refused);
    EXPECT_FALSE(refused.isAccepted());
    QDropEvent ignored(QPointF(CentreOf(*list_, 0)), Qt::CopyAction, &remoteOnly, Qt::LeftButton,
                       Qt::NoModifier);
    QCoreApplication::sendEvent(list_->viewport(), &ignored);

    ASSERT_EQ(drops.size(), 1u);
    EXPECT_EQ(drops[0], (std::vector<std::string>{"/tmp/설정.ini", "/tmp/b.INI"}));
    EXPECT_EQ(dropRows, (std::vector<int>{3}));
}

}  // namespace
}  // namespace kittest

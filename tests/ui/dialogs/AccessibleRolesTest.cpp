// Every dialog of the gallery in both languages, as a screen reader meets it: each control is
// announced as what it is (a skinned radio button as a radio button, not a check box), every
// one has a name and no two controls of a dialog share one; a table is walked through its
// table interface (column headers, rows, cells). And the main window's popup menu,
// a window of its own, is found in the tree under the window, as a menu with its items.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QMenu>
#include <QTimer>
#include <map>
#include <optional>

#include "dialogs/MainDialog.h"
#include "dialogs/MainDialogDefaults.h"
#include "tests/support/language/LanguageTestSupport.h"
#include "tools/gallery/GalleryEntries.h"
#include "ui/TableView.h"

namespace {

using lanterna::Language;

// What a screen reader reads of a table through its table interface, against what it shows.
void ExpectTableReadAsShown(QAccessibleInterface* accessible, const ui::CTableView& view,
                            const std::string& where) {
    QAccessibleTableInterface* table = accessible->tableInterface();
    ASSERT_NE(table, nullptr) << where;
    ASSERT_EQ(table->columnCount(), view.ColumnCount()) << where;
    ASSERT_EQ(table->rowCount(), view.RowCount()) << where;
    const std::vector<std::string> titles = view.ColumnTitles();
    for (int column = 0; column < view.ColumnCount(); ++column) {
        EXPECT_EQ(table->columnDescription(column).toStdString(),
                  titles[static_cast<std::size_t>(column)])
            << where << " column " << column;
    }
    for (int row = 0; row < view.RowCount(); ++row) {
        for (int column = 0; column < view.ColumnCount(); ++column) {
            QAccessibleInterface* cell = table->cellAt(row, column);
            ASSERT_NE(cell, nullptr) << where << " cell " << row << "," << column;
            EXPECT_EQ(cell->text(QAccessible::Name).toStdString(), view.CellText(row, column))
                << where << " cell " << row << "," << column;
            ASSERT_NE(cell->tableCellInterface(), nullptr) << where;
            const QList<QAccessibleInterface*> headers =
                cell->tableCellInterface()->columnHeaderCells();
            ASSERT_EQ(headers.size(), 1) << where << " cell " << row << "," << column;
            EXPECT_EQ(headers.front()->text(QAccessible::Name).toStdString(),
                      titles[static_cast<std::size_t>(column)])
                << where;
        }
    }
}

std::optional<QAccessible::Role> RoleOf(ui::ControlKind kind) {
    switch (kind) {
        case ui::ControlKind::Button:
        case ui::ControlKind::DefaultButton:
            return QAccessible::Button;
        case ui::ControlKind::CheckBox:
            return QAccessible::CheckBox;
        case ui::ControlKind::RadioButton:
            return QAccessible::RadioButton;
        case ui::ControlKind::Edit:
            return QAccessible::EditableText;
        case ui::ControlKind::IpAddress:
            return QAccessible::Grouping;
        case ui::ControlKind::ListView:
            return QAccessible::List;
        case ui::ControlKind::Table:
            return QAccessible::Table;
        case ui::ControlKind::ProgressBar:
            return QAccessible::ProgressBar;
        case ui::ControlKind::ComboBox:
            return QAccessible::ComboBox;
        default:
            return std::nullopt;  // labels, icons, frames: read, not operated
    }
}

TEST(AccessibleRoles, EveryGalleryDialogAnnouncesEachControlAsWhatItIsUnderAName) {
    int tables = 0;
    for (const Language language : {Language::Korean, Language::English}) {
        const lanterna::test::ScopedLanguage scoped(language);
        for (const lanterna::gallery::GalleryEntry& entry : lanterna::gallery::GalleryEntries()) {
            if (!entry.make) {
                continue;
            }
            const std::unique_ptr<ui::CDialog> dialog = entry.make();
            if (dialog->ControlIds().empty()) {
                ASSERT_TRUE(dialog->Create()) << entry.fileName;
            }
            const std::string where =
                entry.fileName + (language == Language::Korean ? " (ko)" : " (en)");
            std::map<QString, int> names;
            for (const ui::ControlTemplate& control : dialog->Template()->controls) {
                const std::optional<QAccessible::Role> role = RoleOf(control.kind);
                if (!role || control.id == ui::kStaticId) {
                    continue;
                }
                QAccessibleInterface* accessible =
                    QAccessible::queryAccessibleInterface(dialog->GetDlgItem(control.id));
                ASSERT_NE(accessible, nullptr) << where << " " << control.id;
                EXPECT_EQ(accessible->role(), *role) << where << " control " << control.id;
                if (const auto* view = dialog->GetDlgItemAs<ui::CTableView>(control.id)) {
                    ++tables;
                    ExpectTableReadAsShown(accessible, *view, where);
                }
                const QString name = accessible->text(QAccessible::Name);
                EXPECT_FALSE(name.isEmpty()) << where << " control " << control.id;
                EXPECT_EQ(++names[name], 1) << where << ": two controls named \""
                                            << name.toStdString() << "\"";
            }
        }
    }
    // The progress, results and audit tables and the preview's two, in both languages.
    EXPECT_GE(tables, 10);
}

TEST(AccessibleRoles, TheOpenPopupMenuIsAMenuWithItsItemsUnderTheMainWindowAndTheirPressChooses) {
    lanterna::ApplicationState state;
    lanterna::AddressBook book;
    lanterna::dialogs::CMainDialog window(
        state, lanterna::dialogs::AddressBookPlace{book, {"/nonexistent/registry.reg"}}, {});
    ASSERT_TRUE(window.Create());
    window.show();
    const std::vector<lanterna::dialogs::MenuCommand> menu = window.HelpMenu();
    QStringList seen;
    QAccessible::Role role = QAccessible::NoRole;
    QTimer::singleShot(50, [&] {
        QAccessibleInterface* top = QAccessible::queryAccessibleInterface(&window);
        for (int i = 0; i < top->childCount(); ++i) {
            QAccessibleInterface* child = top->child(i);
            if (child != nullptr && child->role() == QAccessible::PopupMenu) {
                role = child->role();
                EXPECT_EQ(child->text(QAccessible::Name), QStringLiteral("도움말"));
                EXPECT_EQ(top->indexOfChild(child), i);
                for (int item = 0; item < child->childCount(); ++item) {
                    EXPECT_EQ(child->child(item)->role(), QAccessible::MenuItem);
                    seen.append(child->child(item)->text(QAccessible::Name));
                }
            }
        }
        // The second item chosen through its press action, as a screen reader does.
        QAccessibleInterface* popup = top->child(top->childCount() - 1);
        if (popup != nullptr && popup->childCount() == 2) {
            QAccessibleActionInterface* item = popup->child(1)->actionInterface();
            ASSERT_NE(item, nullptr);
            item->doAction(QAccessibleActionInterface::pressAction());
        }
    });
    // Only a menu the press left open is closed here, so that a failure cannot hang the test.
    QTimer::singleShot(5000, [] {
        if (QWidget* popup = QApplication::activePopupWidget()) {
            popup->close();
        }
    });
    EXPECT_EQ(lanterna::dialogs::TrackPopupMenu(&window, menu, window.geometry().center(), "도움말"),
              menu[1].id);
    EXPECT_EQ(role, QAccessible::PopupMenu);
    EXPECT_EQ(seen, (QStringList{QStringLiteral("도움말"), QStringLiteral("Lanterna 정보")}));
}

}  // namespace

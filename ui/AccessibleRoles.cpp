#include "ui/AccessibleRoles.h"

#include <QAccessibleWidget>
#include <QMenu>

#include "ui/Controls.h"
#include "ui/Dialog.h"

namespace ui {
namespace {

class CRadioButtonAccessible : public QAccessibleWidget {
  public:
    explicit CRadioButtonAccessible(CRadioButton* button)
        : QAccessibleWidget(button, QAccessible::RadioButton) {}

    QString text(QAccessible::Text kind) const override {
        if (kind == QAccessible::Name) {
            const QString name = widget()->accessibleName();
            return name.isEmpty() ? Button()->text().remove(QLatin1Char('&')) : name;
        }
        return QAccessibleWidget::text(kind);
    }

    QAccessible::State state() const override {
        QAccessible::State current = QAccessibleWidget::state();
        current.checkable = true;
        current.checked = Button()->isChecked();
        return current;
    }

    QStringList actionNames() const override {
        return QStringList{pressAction()} + QAccessibleWidget::actionNames();
    }

    void doAction(const QString& action) override {
        if (action == pressAction()) {
            if (Button()->isEnabled()) {
                Button()->click();
            }
            return;
        }
        QAccessibleWidget::doAction(action);
    }

  private:
    CRadioButton* Button() const { return static_cast<CRadioButton*>(widget()); }
};

// A dialog whose popup menu is open: the menu is a window of its own, which Qt leaves out of
// the tree (popups are no children of the application), so the dialog that owns it lists it
// among its children, where a screen reader walking the tree finds it and its items.
class CDialogAccessible : public QAccessibleWidget {
  public:
    explicit CDialogAccessible(CDialog* dialog)
        : QAccessibleWidget(dialog, QAccessible::Dialog) {}

    int childCount() const override {
        return QAccessibleWidget::childCount() + static_cast<int>(OpenMenus().size());
    }

    QAccessibleInterface* child(int index) const override {
        const int own = QAccessibleWidget::childCount();
        if (index < own) {
            return QAccessibleWidget::child(index);
        }
        const QList<QMenu*> menus = OpenMenus();
        return index - own < menus.size() ? QAccessible::queryAccessibleInterface(menus[index - own])
                                          : nullptr;
    }

    int indexOfChild(const QAccessibleInterface* child) const override {
        const QList<QMenu*> menus = OpenMenus();
        for (qsizetype i = 0; i < menus.size(); ++i) {
            if (child != nullptr && child->object() == menus[i]) {
                return QAccessibleWidget::childCount() + static_cast<int>(i);
            }
        }
        return QAccessibleWidget::indexOfChild(child);
    }

  private:
    QList<QMenu*> OpenMenus() const {
        QList<QMenu*> open;
        for (QMenu* menu : widget()->findChildren<QMenu*>(Qt::FindDirectChildrenOnly)) {
            if (menu->isVisible()) {
                open.append(menu);
            }
        }
        return open;
    }
};

QAccessibleInterface* KitAccessibleFactory(const QString&, QObject* object) {
    // Owned by Qt's accessibility cache from here.
    if (auto* radio = dynamic_cast<CRadioButton*>(object)) {
        return new CRadioButtonAccessible(radio);
    }
    if (auto* dialog = dynamic_cast<CDialog*>(object)) {
        return new CDialogAccessible(dialog);
    }
    return nullptr;
}

}  // namespace

void InstallAccessibleRoles() {
    static const bool installed = [] {
        QAccessible::installFactory(&KitAccessibleFactory);
        return true;
    }();
    (void)installed;
}

}  // namespace ui

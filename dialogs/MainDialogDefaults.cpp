#include "dialogs/MainDialogDefaults.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QMenu>
#include <QStringList>

#include "dialogs/AboutDialog.h"
#include "dialogs/AddressEntryDialog.h"
#include "dialogs/FileChoosers.h"
#include "dialogs/HelpDialog.h"
#include "dialogs/MainDialog.h"
#include "dialogs/NetworkConfigFileDialog.h"
#include "dialogs/NetworkSettingsDialog.h"
#include "dialogs/OperationProgressDialog.h"
#include "dialogs/OtherSubnetsDialog.h"
#include "dialogs/PasswordChangeDialog.h"
#include "dialogs/PasswordInputDialog.h"
#include "dialogs/PjlinkPasswordDialog.h"
#include "dialogs/SearchDialog.h"
#include "fleet/History.h"
#include "platform/ProcessEnvironment.h"
#include "resources/StringIds.h"
#include "resources/StringTable.h"
#include "ui/Text.h"

namespace lanterna::dialogs {

QStringList ListFileFilters() {
    return FileFilters(kStringMonitorListFilter);
}

int TrackPopupMenu(QWidget* owner, const std::vector<MenuCommand>& menu, QPoint globalPoint,
                   std::string_view name) {
    QMenu popup(owner);
    popup.setAccessibleName(ui::ToQString(name));
    for (const MenuCommand& command : menu) {
        if (command.separatorBefore) {
            popup.addSeparator();
        }
        QAction* action = popup.addAction(ui::ToQString(command.text));
        action->setData(command.id);
        action->setCheckable(command.checkable);
        action->setChecked(command.checked);
        if (!command.greyedReason.empty()) {
            action->setEnabled(false);
            action->setToolTip(ui::ToQString(command.greyedReason));
            action->setStatusTip(action->toolTip());
        }
    }
    popup.setToolTipsVisible(true);
    // An item pressed through the accessibility interface is triggered without the menu
    // ending its run: it is taken as the choice, and the menu closed, as a click would.
    const QAction* pressed = nullptr;
    QObject::connect(&popup, &QMenu::triggered, &popup, [&popup, &pressed](QAction* action) {
        pressed = action;
        popup.close();
    });
    const QAction* clicked = popup.exec(globalPoint);
    const QAction* chosen = clicked != nullptr ? clicked : pressed;
    return chosen != nullptr ? chosen->data().toInt() : 0;
}

std::string ChooseSettingsFile(QWidget* owner) {
    QFileDialog dialog(owner, ui::ToQString(LoadString(kStringOpenSettingsFileTitle)),
                       QDir::homePath());
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilters(FileFilters(kStringSettingsFileFilter));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return {};
    }
    return QFile::encodeName(dialog.selectedFiles().front()).toStdString();
}

std::string ChooseListFile(QWidget* owner) {
    QFileDialog dialog(owner, ui::ToQString(LoadString(kStringOpenMonitorListTitle)),
                       QDir::homePath());
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilters(ListFileFilters());
    dialog.setDefaultSuffix(QStringLiteral("ini"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return {};
    }
    return QFile::encodeName(dialog.selectedFiles().front()).toStdString();
}

MainDialogServices DefaultMainDialogServices(ApplicationState& state, SearchTargets targets) {
    MainDialogServices services;
    services.runSearch = [&state, targets](CMainDialog& owner, ProjectorList&) {
        CSearchDialog dialog(state, &owner, targets, owner.OtherSubnetAddresses());
        dialog.DoModal();
    };
    services.runOperation = [&state](CMainDialog& owner, WorkerMode mode, bool passwordEntered) {
        COperationProgressDialog dialog(mode, state, &owner);
        dialog.passwordEntered = passwordEntered ? 1 : 0;
        const int code = dialog.DoModal();
        const bool refused = mode == WorkerMode::kRead && code != ui::IDOK &&
                             dialog.WorkerResult() == 0;  // the read worker's "password refused"
        return refused ? kOperationPasswordRefused : code;
    };
    services.runAddressEntry = [&state](CMainDialog& owner) {
        CAddressEntryDialog dialog(state, &owner);
        return dialog.DoModal();
    };
    services.runPasswordInput = [](CMainDialog& owner, PasswordPrompt& prompt) {
        CPasswordInputDialog dialog(prompt, &owner);
        return dialog.DoModal();
    };
    services.chooseSettingsFile = [](CMainDialog& owner) { return ChooseSettingsFile(&owner); };
    services.chooseFolder = [](CMainDialog& owner) {
        const QString folder = QFileDialog::getExistingDirectory(
            &owner, ui::ToQString(LoadString(kStringBackupFolderTitle)), QDir::homePath());
        return folder.isEmpty() ? std::string() : QFile::encodeName(folder).toStdString();
    };
    services.chooseCsvFile = [](QWidget& owner, const std::string& suggested) {
        SaveFileRequest request;
        request.titleId = kStringSaveCsvTitle;
        request.filterId = kStringCsvFilter;
        request.fileName = suggested;
        request.folder = HomeFolder();
        request.defaultExtension = "csv";
        return ChooseSaveFile(&owner, request);
    };
    // The jobs on a selection reach the projectors where the window's own links and hellos do.
    services.fleetNetwork.projectorPort = state.ProjectorPort();
    services.fleetNetwork.helloPort = targets.hello.port;
    services.fleetNetwork.helloLocalPort = targets.hello.localPort;
    services.fleetNetwork.search = targets;
    services.historyFolder = fleet::HistoryFolder(ProcessEnvironment);
    services.runPasswordChange = [&state](CMainDialog& owner) {
        CPasswordChangeDialog dialog(state, &owner);
        return dialog.DoModal();
    };
    services.runNetworkSettings = [&state](CMainDialog& owner, ProjectorRecord&) {
        CNetworkSettingsDialog dialog(state, &owner);
        dialog.SetHistoryFolder(owner.HistoryFolder());
        return dialog.DoModal();
    };
    services.runConfigFile = [](CMainDialog& owner, bool wireless) {
        CNetworkConfigFileDialog dialog(wireless ? 1 : 0, &owner);
        return dialog.DoModal();
    };
    services.runAbout = [](CMainDialog& owner) {
        CAboutDialog dialog(&owner);
        return dialog.DoModal();
    };
    services.runHelp = [](CMainDialog& owner) {
        CHelpDialog dialog(&owner);
        return dialog.DoModal();
    };
    services.runOtherSubnets = [](CMainDialog& owner, const HiveFile& hive) {
        COtherSubnetsDialog dialog(hive, &owner);
        return dialog.DoModal();
    };
    // Only the listed projectors are greeted, each at its own address the way it was found,
    // under the search's port rules.
    services.presenceRound = [targets](const std::vector<std::string>& addresses,
                                       const std::vector<Greeting>& ways) {
        return RunGreetingRound(addresses, ways, targets);
    };
    services.healthRound = [](const std::vector<std::string>& addresses,
                              const fleet::FleetNetwork& network,
                              const fleet::PjlinkPasswordOf& passwordOf,
                              const std::atomic<bool>& cancel) {
        return fleet::ReadHealthOf(addresses, network, passwordOf, fleet::kDefaultJobs, &cancel);
    };
    services.runPjlinkPassword = [](CMainDialog& owner, PasswordPrompt& prompt) {
        CPjlinkPasswordDialog dialog(prompt, &owner);
        return dialog.DoModal();
    };
    services.chooseListFile = [](CMainDialog& owner) { return ChooseListFile(&owner); };
    services.trackPopupMenu = [](CMainDialog& owner, const std::vector<MenuCommand>& menu,
                                 QPoint point, std::string_view name) {
        return TrackPopupMenu(&owner, menu, point, name);
    };
    return services;
}

}  // namespace lanterna::dialogs

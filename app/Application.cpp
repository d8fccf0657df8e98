#include "app/Application.h"

#include <QApplication>
#include <QWidget>
#include <iostream>
#include <optional>

#include "app/CommandLine.h"
#include "app/LaunchOptions.h"
#include "app/PlatformStartGuard.h"
#include "app/QtTranslations.h"
#include "app/SingleInstance.h"
#include "dialogs/MessageDialog.h"
#include "platform/ProcessEnvironment.h"
#include "resources/StringTable.h"
#include "skin/SkinPalette.h"
#include "ui/MessageBox.h"
#include "ui/Text.h"

namespace lanterna {
namespace {

CApplication* theApplication = nullptr;

}  // namespace

CApplication::CApplication(int argc, const char* const* argv, ApplicationOptions options)
    : options_(std::move(options)),
      commandLine_(JoinArguments(argc, argv)),
      state_(options_.state) {
    state_.messageService = &messageService_;
    theApplication = this;
}

CApplication::~CApplication() {
    ExitInstance();
    if (options_.installMessageDialog) {
        ui::SetMessageBoxHandler(nullptr);
    }
    if (theApplication == this) {
        theApplication = nullptr;
    }
}

CApplication* CApplication::Instance() {
    return theApplication;
}

bool CApplication::InitInstance() {
    // Steps 1 and 2 (embedded controls, OLE) have nothing to do here.
    // Step 3: the colours of the skinned windows and controls, before any window exists.
    skin::SetSkinPalette(skin::kSkinColours);
    // Step 4: the application name, which is also the caption of every message.
    const QString name = ui::ToQString(LoadString(kStringAppName));
    QCoreApplication::setApplicationName(name);
    QGuiApplication::setApplicationDisplayName(name);
    if (options_.installMessageDialog) {
        ui::SetMessageBoxHandler(&dialogs::CMessageDialog::Show);
    }
    // Qt's own dialogs and buttons speak the program's language too.
    qtTranslations_ = InstallQtTranslations(UserLanguage());
    // Steps 5 and 6: one instance per user; a later start raises the first one's window.
    instance_ = std::make_unique<CSingleInstance>(options_.instanceFolder);
    connect(instance_.get(), &CSingleInstance::raiseRequested, this,
            &CApplication::RaiseMainWindow);
    if (!instance_->Acquire()) {
        return false;
    }
    // Step 7.
    state_.debugMode = ReadDebugMode(commandLine_);
    return true;
}

int CApplication::RunMainWindow(const std::function<int(CApplication&)>& runMainWindow) {
    const int code = runMainWindow ? runMainWindow(*this) : 0;
    SetMainWindow(nullptr);
    return code;
}

int CApplication::ExitInstance() {
    if (exited_) {
        return 0;
    }
    exited_ = true;
    state_.projectors.Clear();
    state_.selectedIndex = -1;
    state_.link.reset();
    if (instance_) {
        instance_->Release();
    }
    return 0;
}

void CApplication::SetMainWindow(QWidget* window) {
    mainWindow_ = window;
}

void CApplication::RaiseMainWindow() {
    emit raiseRequested();
    if (mainWindow_ == nullptr) {
        return;
    }
    if (mainWindow_->isMinimized()) {
        mainWindow_->showNormal();
    }
    mainWindow_->raise();
    mainWindow_->activateWindow();
}

int CApplication::ShowMessage(QWidget* owner, int stringId, unsigned flags) {
    return ui::ShowStringMessage(owner, stringId, flags);
}

bool CApplication::IsInstanceHeld() const {
    return instance_ && instance_->IsHeld();
}

int RunLanterna(int argc, char** argv, const std::function<int(CApplication&)>& runMainWindow) {
    switch (ChooseLaunchAction(argc, argv, &ProcessEnvironment)) {
        case LaunchAction::kPrintHelp:
            std::cout << LaunchHelpText() << std::flush;
            return 0;
        case LaunchAction::kPrintVersion:
            std::cout << LaunchVersionText() << std::flush;
            return 0;
        case LaunchAction::kNoDisplay:
            std::cerr << NoDisplayLine() << std::endl;
            return 1;
        case LaunchAction::kRunWindow:
            break;
    }
    std::optional<CPlatformStartGuard> guard(std::in_place);
    QApplication qtApplication(argc, argv);
    guard.reset();
    CApplication application(argc, argv);
    if (application.InitInstance()) {
        application.RunMainWindow(runMainWindow);
    }
    return application.ExitInstance();
}

}  // namespace lanterna

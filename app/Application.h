#pragma once
// CApplication: the one object that lives for the whole run on the user-interface side. It runs
// start-up and exit, keeps the program to one instance per user, reads "/debug", routes every
// user message through the message dialog, and raises the main window when a later start asks.
//
//     QApplication qtApplication(argc, argv);
//     CApplication application(argc, argv);
//     if (application.InitInstance()) {
//         application.RunMainWindow(runner);   // start-up step 8: the main window, modally
//     }
//     return application.ExitInstance();
//
// User-interface thread only, except ShowMessage (any thread).

#include <QObject>
#include <QPointer>
#include <QString>
#include <QTranslator>
#include <QWidget>
#include <functional>
#include <memory>
#include <string>

#include "app/MessageService.h"
#include "state/ApplicationState.h"

namespace lanterna {

class CSingleInstance;

struct ApplicationOptions {
    // Folder of the instance lock and socket; empty for the user's runtime folder.
    QString instanceFolder;
    // False leaves the message service as it is (tests that answer messages themselves).
    bool installMessageDialog = true;
    // What the shared state takes from its surroundings (tests point links at a simulator).
    StateOptions state;
};

class CApplication : public QObject {
    Q_OBJECT

  public:
    // A QApplication must exist. `argv` holds the program's arguments as given to main().
    CApplication(int argc, const char* const* argv, ApplicationOptions options = {});
    ~CApplication() override;
    CApplication(const CApplication&) = delete;
    CApplication& operator=(const CApplication&) = delete;

    // The application object of this run, null when there is none.
    static CApplication* Instance();

    // Start-up steps 1 to 7. True when the program goes on to its main window; false when
    // another instance runs (it has been asked to raise its window; nothing is shown here).
    bool InitInstance();

    // Start-up step 8: makes the window that `runMainWindow` opens the main window (through
    // SetMainWindow) and runs it; returns its end code.
    int RunMainWindow(const std::function<int(CApplication&)>& runMainWindow);

    // Exit: frees the projector records (no entry stays selected), then the link, then releases
    // the instance lock. Returns the program's exit code (0). Safe to call more than once.
    int ExitInstance();

    // The window a later start brings to the front. Null when none is open.
    void SetMainWindow(QWidget* window);
    QWidget* MainWindow() const { return mainWindow_; }
    // Brings the main window to the front (a later start asked for it).
    void RaiseMainWindow();

    // The text of string `stringId` with caption string 110 in the message dialog, owned by
    // `owner` (may be null); returns the dialog's end code (6 Yes, 7 No, 1 OK, 2 closed). From
    // a worker thread it shows the dialog on the user-interface thread and blocks until the
    // user has answered.
    static int ShowMessage(QWidget* owner, int stringId, unsigned flags);

    // The Qt-free state shared with the workers: the projector list, the selected entry, the
    // link and the hand-over fields. Its message service is the message dialog.
    ApplicationState& State() { return state_; }
    const ApplicationState& State() const { return state_; }

    int DebugMode() const { return state_.debugMode; }
    const std::string& CommandLine() const { return commandLine_; }
    bool IsInstanceHeld() const;
    CSingleInstance* SingleInstance() const { return instance_.get(); }

  signals:
    // A later start asked this instance to come to the front.
    void raiseRequested();

  private:
    ApplicationOptions options_;
    std::string commandLine_;
    ApplicationState state_;
    CWindowMessageService messageService_;
    std::unique_ptr<CSingleInstance> instance_;
    QPointer<QWidget> mainWindow_;
    std::unique_ptr<QTranslator> qtTranslations_;
    bool exited_ = false;
};

// The whole program around its main window: prints the help or the version, or the no-display
// line (exit status 1), without starting the toolkit when the command line or the environment
// asks for that (LaunchOptions.h); otherwise creates the Qt application and the application
// object, runs start-up, `runMainWindow` when start-up allows, and exit; returns the exit code.
int RunLanterna(int argc, char** argv, const std::function<int(CApplication&)>& runMainWindow);

}  // namespace lanterna

#pragma once
// Test hooks: tests drive modal dialogs and answer message boxes without a person.
//
// While a ui::test::Session is alive:
//  - every modal run (CDialog::DoModal) takes the next script queued by ScriptNextDialog. The
//    script runs once the dialog is initialised and its event loop is running; it may set
//    texts, click buttons (which may open further, nested dialogs with scripts of their own),
//    assert, and end the dialog. A dialog still open `timeout` after its script started is
//    ended with IDCANCEL. A modal run without a queued script, or whose script names another
//    template, is not run at all: DoModal returns IDCANCEL at once. Each of these is recorded
//    as a problem.
//  - every message box is recorded and answered from the queue of AnswerNextMessage. Without
//    a queued answer an OK box answers IDOK; a Yes/No question answers IDNO and is recorded as
//    a problem. An answer the box could not give is recorded as a problem too.
// Without a session, modal runs and message boxes behave normally.
//
// Scripts and dialogs belong to the user-interface thread; messages may be recorded from any
// thread.

#include <QWidget>
#include <functional>
#include <string>
#include <vector>

namespace ui {

class CDialog;

namespace test {

using DialogScript = std::function<void(CDialog& dialog)>;

inline constexpr int kAnyTemplate = 0;
inline constexpr int kDefaultScriptTimeoutMs = 20000;

class Session {
  public:
    Session();
    ~Session();
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;
};

// Queues a script for the next modal run; `templateId` is the template that run must use
// (kAnyTemplate for any).
void ScriptNextDialog(int templateId, DialogScript script, int timeoutMs = kDefaultScriptTimeoutMs);

// Queues the end code of the next message box.
void AnswerNextMessage(int answer);

struct ShownMessage {
    std::string text;
    std::string caption;
    unsigned flags = 0;
    int stringId = 0;         // when shown by string id (ShowStringMessage), else 0
    int ownerTemplateId = 0;  // template of the owner's dialog, 0 when unknown
};

// Message boxes shown since the session began, oldest first.
std::vector<ShownMessage> ShownMessages();
void ClearShownMessages();

// Problems recorded so far, plus scripts and answers never used (which are dropped); the
// list is emptied.
std::vector<std::string> TakeProblems();

// Runs `dialog` modally with `script` and returns its end code.
int RunModal(CDialog& dialog, DialogScript script, int timeoutMs = kDefaultScriptTimeoutMs);

// Processes events until `done` returns true or `timeoutMs` has passed; returns done().
bool PumpUntil(const std::function<bool()>& done, int timeoutMs = 5000);

namespace detail {

enum class ModalPlan { RunNormally, RunScripted, Refuse };

// Called by CDialog::DoModal on the user-interface thread. With RunScripted, `script` and
// `timeoutMs` are filled.
ModalPlan PlanModalRun(int templateId, DialogScript& script, int& timeoutMs);

void RecordProblem(const std::string& problem);

// Called for every message box, on any thread. True when a session answered it (in `answer`).
bool InterceptMessageBox(QWidget* owner, const std::string& text, const std::string& caption,
                         unsigned flags, int stringId, int& answer);

}  // namespace detail
}  // namespace test
}  // namespace ui

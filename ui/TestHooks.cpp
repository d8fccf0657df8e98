#include "ui/TestHooks.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QThread>
#include <deque>
#include <mutex>
#include <utility>

#include "ui/Dialog.h"
#include "ui/DialogCodes.h"

namespace ui::test {
namespace {

struct QueuedScript {
    int templateId = kAnyTemplate;
    DialogScript script;
    int timeoutMs = kDefaultScriptTimeoutMs;
};

struct State {
    std::mutex mutex;
    int sessions = 0;
    std::deque<QueuedScript> scripts;
    std::deque<int> answers;
    std::vector<ShownMessage> shown;
    std::vector<std::string> problems;
};

State& TheState() {
    static State state;
    return state;
}

bool AnswerFits(unsigned flags, int answer) {
    if ((flags & MB_BUTTONMASK) == MB_YESNO) {
        return answer == IDYES || answer == IDNO || answer == IDCANCEL;
    }
    return answer == IDOK || answer == IDCANCEL;
}

int OwnerTemplateId(QWidget* owner) {
    if (owner == nullptr || QThread::currentThread() != owner->thread()) {
        return 0;
    }
    const auto* dialog = dynamic_cast<const CDialog*>(owner->window());
    return dialog != nullptr ? dialog->TemplateId() : 0;
}

}  // namespace

Session::Session() {
    State& state = TheState();
    const std::lock_guard lock(state.mutex);
    if (state.sessions++ == 0) {
        state.scripts.clear();
        state.answers.clear();
        state.shown.clear();
        state.problems.clear();
    }
}

Session::~Session() {
    State& state = TheState();
    const std::lock_guard lock(state.mutex);
    if (--state.sessions == 0) {
        state.scripts.clear();
        state.answers.clear();
    }
}

void ScriptNextDialog(int templateId, DialogScript script, int timeoutMs) {
    State& state = TheState();
    const std::lock_guard lock(state.mutex);
    state.scripts.push_back(QueuedScript{templateId, std::move(script), timeoutMs});
}

void AnswerNextMessage(int answer) {
    State& state = TheState();
    const std::lock_guard lock(state.mutex);
    state.answers.push_back(answer);
}

std::vector<ShownMessage> ShownMessages() {
    State& state = TheState();
    const std::lock_guard lock(state.mutex);
    return state.shown;
}

void ClearShownMessages() {
    State& state = TheState();
    const std::lock_guard lock(state.mutex);
    state.shown.clear();
}

std::vector<std::string> TakeProblems() {
    State& state = TheState();
    const std::lock_guard lock(state.mutex);
    std::vector<std::string> problems = std::move(state.problems);
    state.problems.clear();
    for (const QueuedScript& unused : state.scripts) {
        problems.push_back("script for template " + std::to_string(unused.templateId) +
                           " never used");
    }
    for (const int unused : state.answers) {
        problems.push_back("message answer " + std::to_string(unused) + " never used");
    }
    state.scripts.clear();
    state.answers.clear();
    return problems;
}

int RunModal(CDialog& dialog, DialogScript script, int timeoutMs) {
    ScriptNextDialog(dialog.TemplateId(), std::move(script), timeoutMs);
    return dialog.DoModal();
}

bool PumpUntil(const std::function<bool()>& done, int timeoutMs) {
    const QDeadlineTimer deadline(timeoutMs);
    while (!done()) {
        if (deadline.hasExpired()) {
            return done();
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(1);
    }
    return true;
}

namespace detail {

ModalPlan PlanModalRun(int templateId, DialogScript& script, int& timeoutMs) {
    State& state = TheState();
    const std::lock_guard lock(state.mutex);
    if (state.sessions == 0) {
        return ModalPlan::RunNormally;
    }
    if (state.scripts.empty()) {
        state.problems.push_back("dialog " + std::to_string(templateId) +
                                 " opened without a script");
        return ModalPlan::Refuse;
    }
    QueuedScript next = std::move(state.scripts.front());
    state.scripts.pop_front();
    if (next.templateId != kAnyTemplate && next.templateId != templateId) {
        state.problems.push_back("dialog " + std::to_string(templateId) +
                                 " opened where the script expected " +
                                 std::to_string(next.templateId));
        return ModalPlan::Refuse;
    }
    script = std::move(next.script);
    timeoutMs = next.timeoutMs;
    return ModalPlan::RunScripted;
}

void RecordProblem(const std::string& problem) {
    State& state = TheState();
    const std::lock_guard lock(state.mutex);
    state.problems.push_back(problem);
}

bool InterceptMessageBox(QWidget* owner, const std::string& text, const std::string& caption,
                         unsigned flags, int stringId, int& answer) {
    const int ownerTemplate = OwnerTemplateId(owner);
    State& state = TheState();
    const std::lock_guard lock(state.mutex);
    if (state.sessions == 0) {
        return false;
    }
    state.shown.push_back(ShownMessage{text, caption, flags, stringId, ownerTemplate});
    const bool question = (flags & MB_BUTTONMASK) == MB_YESNO;
    if (state.answers.empty()) {
        if (question) {
            state.problems.push_back("question not answered: " + text);
        }
        answer = question ? IDNO : IDOK;
        return true;
    }
    answer = state.answers.front();
    state.answers.pop_front();
    if (!AnswerFits(flags, answer)) {
        state.problems.push_back("answer " + std::to_string(answer) +
                                 " does not fit the message: " + text);
    }
    return true;
}

}  // namespace detail
}  // namespace ui::test

// One instance per user: the lock, the raise request through the local socket, release and
// take-over of a lock left by a process that died.
#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QSignalSpy>
#include <QSysInfo>
#include <QTemporaryDir>

#include "app/SingleInstance.h"
#include "ui/TestHooks.h"

namespace lanterna {
namespace {

class SingleInstance : public ::testing::Test {
  protected:
    QTemporaryDir folder_;
};

TEST_F(SingleInstance, SecondStartIsRefusedAndRaisesTheFirst) {
    ASSERT_TRUE(folder_.isValid());
    CSingleInstance first(folder_.path());
    ASSERT_TRUE(first.Acquire());
    QSignalSpy raised(&first, &CSingleInstance::raiseRequested);

    CSingleInstance second(folder_.path());
    EXPECT_FALSE(second.Acquire());
    EXPECT_FALSE(second.IsHeld());
    EXPECT_TRUE(ui::test::PumpUntil([&] { return raised.count() > 0; }));
    EXPECT_EQ(raised.count(), 1);
}

TEST_F(SingleInstance, AfterReleaseANewStartRunsNormally) {
    CSingleInstance first(folder_.path());
    ASSERT_TRUE(first.Acquire());
    first.Release();
    EXPECT_FALSE(QFile::exists(first.LockPath()));

    CSingleInstance next(folder_.path());
    EXPECT_TRUE(next.Acquire());
    EXPECT_FALSE(CSingleInstance(folder_.path()).Acquire());
}

TEST_F(SingleInstance, LockOfAProcessThatDiedIsTakenOver) {
    QProcess gone;
    gone.start("true", {});
    ASSERT_TRUE(gone.waitForFinished(5000));
    const qint64 deadPid = gone.processId() != 0 ? gone.processId() : 0;
    CSingleInstance instance(folder_.path());
    QFile lock(instance.LockPath());
    ASSERT_TRUE(lock.open(QIODevice::WriteOnly));
    // The lock file's own layout: process id, application name, host name.
    lock.write(QByteArray::number(deadPid != 0 ? deadPid : 999999) + "\nlanterna\n" +
               QSysInfo::machineHostName().toUtf8() + "\n");
    lock.close();
    EXPECT_TRUE(instance.Acquire());
}

TEST_F(SingleInstance, SocketLeftBehindDoesNotStopTheFirstInstance) {
    CSingleInstance instance(folder_.path());
    QFile stale(instance.SocketPath());
    ASSERT_TRUE(stale.open(QIODevice::WriteOnly));
    stale.close();
    ASSERT_TRUE(instance.Acquire());
    QSignalSpy raised(&instance, &CSingleInstance::raiseRequested);
    EXPECT_TRUE(CSingleInstance::RequestRaise(instance.SocketPath()));
    EXPECT_TRUE(ui::test::PumpUntil([&] { return raised.count() > 0; }));
}

TEST_F(SingleInstance, RaiseRequestWithoutAnInstanceFails) {
    EXPECT_FALSE(CSingleInstance::RequestRaise(folder_.filePath("nobody")));
}

}  // namespace
}  // namespace lanterna

#pragma once
// One running instance per user. The first start holds a lock file and listens on a local
// socket beside it; a later start finds the lock held, asks the first instance through the
// socket to raise its main window, and ends.
//
// Both files lie in a per-user folder (the user's runtime folder by default; tests name a
// folder of their own). A lock left by a process that died is taken over. User-interface
// thread only.

#include <QLockFile>
#include <QObject>
#include <QString>
#include <memory>

class QLocalServer;

namespace lanterna {

class CSingleInstance : public QObject {
    Q_OBJECT

  public:
    // How long a second start tries to reach the first one.
    static constexpr int kRequestTimeoutMs = 1000;

    // `folder` empty: the user's runtime folder.
    explicit CSingleInstance(QString folder = {}, QObject* parent = nullptr);
    ~CSingleInstance() override;

    // Takes the lock: true when this is the first instance (it then listens for requests).
    // False when another instance holds it; that instance has then been asked to raise its
    // window (when it could be reached).
    bool Acquire();

    // Gives up the lock and stops listening; Acquire may be called again afterwards.
    void Release();

    bool IsHeld() const { return held_; }
    QString LockPath() const;
    QString SocketPath() const;

    // Asks the instance that listens at `socketPath` to raise its window; true when the
    // request was delivered.
    static bool RequestRaise(const QString& socketPath);

  signals:
    // A later start asked this instance to bring its main window to the front.
    void raiseRequested();

  private:
    void OnConnection();

    QString folder_;
    std::unique_ptr<QLockFile> lock_;
    std::unique_ptr<QLocalServer> server_;
    bool held_ = false;
};

}  // namespace lanterna

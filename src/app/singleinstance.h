#pragma once

#include "platform/instancelock.h"

#include <QObject>
#include <QString>

#include <memory>

class QSocketNotifier;
class QWidget;

// One Korvane per user: two windows on the same files would each rewrite
// them from their own list and lose records. The first start takes the
// instance lock and listens on a local socket in the runtime folder; a later
// start finds the lock held, connects to ask the running one to bring its
// window forward, and leaves without touching any database or setting.
//
// The socket is the C library's own, watched by the event loop: the request
// is a connection and the launcher's activation token, and Qt's network
// module would cost every start its loading for that.
class SingleInstance : public QObject
{
    Q_OBJECT

public:
    explicit SingleInstance(const QString &lockPath = InstanceLock::DefaultPath(), QObject *parent = nullptr);
    ~SingleInstance() override;

    // True when this process is to run Korvane: it now holds the lock and
    // listens for later starts. Also true, with a warning, when the lock
    // cannot be written at all, so that Korvane still starts.
    bool Claim();

    // A later start: asks the running Korvane to show its window. False when
    // it could not be reached.
    bool HandOver();

    // Brings the window forward whenever a later start asks for it.
    void ShowOnRequest(QWidget *window);

signals:
    // With the later start's activation token, empty when it had none.
    void showRequested(const QString &activationToken);

private:
    bool Listen();
    void AcceptRequests();

    InstanceLock m_lock;
    QByteArray m_socketPath;
    int m_listener = -1;
    std::unique_ptr<QSocketNotifier> m_requests;
};

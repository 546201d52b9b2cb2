#pragma once

#include "platform/instancelock.h"

#include <QLocalServer>
#include <QObject>
#include <QString>

class QWidget;

// One Korvane per user: two windows on the same files would each rewrite
// them from their own list and lose records. The first start takes the
// instance lock and listens in the runtime folder; a later start finds the
// lock held, asks the running one to bring its window forward, and leaves
// without touching any database or setting.
class SingleInstance : public QObject
{
    Q_OBJECT

public:
    explicit SingleInstance(const QString &lockPath = InstanceLock::DefaultPath(), QObject *parent = nullptr);

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
    void AcceptRequests();

    InstanceLock m_lock;
    QString m_serverPath;
    QLocalServer m_server;
};

#include "announcer.h"

#include <QAccessibleWidget>

using namespace Qt::StringLiterals;

namespace {

class NotificationAccessible : public QAccessibleWidget
{
public:
    explicit NotificationAccessible(QWidget *widget)
        : QAccessibleWidget(widget, QAccessible::Notification)
    {}
};

QAccessibleInterface *NotificationFactory(const QString &className, QObject *object)
{
    if (className == u"Announcer"_s && object && object->isWidgetType())
        return new NotificationAccessible(static_cast<QWidget *>(object));
    return nullptr;
}

} // namespace

Announcer::Announcer(QWidget *parent)
    : QWidget(parent)
{
    [[maybe_unused]] static const bool factoryInstalled = (QAccessible::installFactory(NotificationFactory), true);
    setObjectName(u"Announcer"_s);
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setGeometry(0, 0, 0, 0);
    // Shown with the window it would be heard as an empty notification.
    hide();
}

void Announcer::Announce(const QString &text)
{
    QMetaObject::invokeMethod(
        this, [this, text] { AnnounceNow(text); }, Qt::QueuedConnection);
}

void Announcer::AnnounceNow(const QString &text)
{
    setAccessibleName(text);
    hide();
    show();
}

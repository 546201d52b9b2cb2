#include "choicegroup.h"

#include <QAccessibleWidget>
#include <QHBoxLayout>

using namespace Qt::StringLiterals;

namespace {

QAccessibleInterface *GroupingFactory(const QString &className, QObject *object)
{
    if (className == u"ChoiceGroup"_s && object && object->isWidgetType())
        return new QAccessibleWidget(static_cast<QWidget *>(object), QAccessible::Grouping);
    return nullptr;
}

} // namespace

ChoiceGroup::ChoiceGroup(const QString &name, QWidget *parent)
    : QWidget(parent)
{
    [[maybe_unused]] static const bool factoryInstalled = (QAccessible::installFactory(GroupingFactory), true);
    setAccessibleName(name);
    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
}

void ChoiceGroup::AddButton(QWidget *button)
{
    layout()->addWidget(button);
}

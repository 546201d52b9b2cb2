#pragma once

#include <QWidget>

// A row of buttons, side by side without gaps, that are one group of choices
// for a screen reader. It draws nothing of its own.
class ChoiceGroup : public QWidget
{
    Q_OBJECT

public:
    ChoiceGroup(const QString &name, QWidget *parent);

    void AddButton(QWidget *button);
};

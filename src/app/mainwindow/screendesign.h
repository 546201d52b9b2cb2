#pragma once

#include <QList>

#include <array>

class InputField;
class LineWidget;
class QAction;
class QFrame;
class QLabel;
class QWidget;
class RecordList;
class RecordListView;
class ShapeWidget;
class ToolbarButton;

// The designed elements of the main window's client area, each at its
// designed rectangle, in the manner of a generated form class. Control
// arrays keep their designed indexes.
class ScreenDesign
{
public:
    void SetupUi(QWidget *client, RecordList &list);

    QFrame *Frame1 = nullptr;
    QFrame *Frame2 = nullptr;
    QFrame *Frame4 = nullptr;
    QWidget *Toolbar1 = nullptr;
    QWidget *Toolbar2 = nullptr;
    // Button n of a toolbar is element n - 1: its action, and the widget
    // that shows it.
    QList<QAction *> Toolbar1Buttons;
    QList<QAction *> Toolbar2Buttons;
    QList<ToolbarButton *> Toolbar1Widgets;
    QList<ToolbarButton *> Toolbar2Widgets;
    std::array<QLabel *, 6> Label1{};
    std::array<InputField *, 6> Text1{};
    std::array<ShapeWidget *, 9> Shape1{};
    LineWidget *Line1 = nullptr;
    LineWidget *Line2 = nullptr;
    RecordListView *ListView1 = nullptr;

private:
    void SetupFrames(QWidget *client);
    void SetupFields();
    void SetupToolbars();
    void SetupListArea(QWidget *client, RecordList &list);
    void SetupFocusOrder();
};

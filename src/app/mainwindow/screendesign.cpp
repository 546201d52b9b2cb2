#include "screendesign.h"

#include "app/programicons.h"
#include "app/shapewidget.h"
#include "choicegroup.h"
#include "editing/recordform.h"
#include "linewidget.h"
#include "store/databasefiles.h"
#include "toolbarbutton.h"
#include "views/inputfield.h"
#include "views/recordlistview.h"
#include "views/twips.h"

#include <QAction>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>

#include <span>

using namespace Qt::StringLiterals;

namespace {

// One input field with its label and the shape around it; the label and
// field indexes differ for Registration and Registration Date.
struct FieldDesign
{
    int fieldIndex;
    int labelIndex;
    int shapeIndex;
    bool inTopBand; // in `Frame2`, else in `Frame1`
    QRect labelTwips;
    QRect fieldTwips;
    QRect shapeTwips;
    const char16_t *caption;
    const char16_t *toolTip;
};

constexpr FieldDesign Fields[] = {
    {RecordForm::WebContactField,
     0,
     0,
     true,
     {2775, 465, 3255, 195},
     {2805, 705, 6330, 270},
     {2715, 660, 6615, 345},
     u"Web Contact (Email, URL)",
     u"Provider (licenser) web site, or email address"},
    {RecordForm::ProductField,
     1,
     1,
     false,
     {195, 810, 2205, 210},
     {210, 1065, 2190, 270},
     {120, 1020, 2370, 345},
     u"Product,Software Name",
     u"or Software Title"},
    {RecordForm::RegistrantField,
     2,
     2,
     false,
     {2895, 810, 2250, 210},
     {2910, 1065, 2235, 270},
     {2835, 1020, 2415, 345},
     u"Registered to",
     u"Name of Registrant (licensed to)"},
    {RecordForm::CustomerIdField,
     4,
     4,
     false,
     {5415, 810, 2040, 210},
     {5445, 1065, 3885, 270},
     {5370, 1020, 4080, 345},
     u"Customer #, Product ID",
     u"Usually comes with the software"},
    {RecordForm::RegistrationDateField,
     3,
     8,
     false,
     {195, 1425, 1920, 210},
     {210, 1680, 2190, 270},
     {120, 1635, 2370, 345},
     u"Registration Date",
     u"Effective date"},
    {RecordForm::RegistrationField,
     5,
     3,
     false,
     {2895, 1425, 2700, 210},
     {2910, 1680, 6420, 270},
     {2835, 1635, 6615, 345},
     u"Registration #, Code",
     u"Code to enable product"},
};

struct ButtonDesign
{
    const char *icon;
    const char16_t *key;
    const char16_t *toolTip;
};

constexpr ButtonDesign Toolbar1Design[] = {
    {"add", u"", u"Add Record"},
    {"remove", u"", u"Remove Selected Record"},
    {"replace", u"", u"Replace Selected Record"},
    {"clear", u"", u"Clear Input Fields"},
};

// The four database buttons take their tool tips from the store's names of
// the databases, which korvane-cli shows too.
constexpr ButtonDesign Toolbar2Design[] = {
    {"work", u"work", u""},
    {"game", u"game", u""},
    {"tools", u"tools", u""},
    {"misc", u"misc", u""},
    {"mainmenu", u"MainMenu", u"Main Menu"},
};

// The labels share the fields' font.
QFont LabelFont()
{
    QFont font(u"Tahoma"_s);
    font.setPointSizeF(8.25);
    return font;
}

QFrame *MakeFrame(const QString &name, const QRect &twips, QWidget *parent)
{
    auto *frame = new QFrame(parent);
    frame->setObjectName(name);
    frame->setFrameStyle(QFrame::Box | QFrame::Sunken);
    PlaceInTwips(frame, twips);
    return frame;
}

ShapeWidget *MakeShape(int index, const QRect &twips, QWidget *parent)
{
    auto *shape = new ShapeWidget(parent);
    shape->setObjectName(u"Shape1_%1"_s.arg(index));
    PlaceInTwips(shape, twips);
    // Shapes are drawn behind every control of their container.
    shape->lower();
    return shape;
}

// A toolbar of the designed size: a row of square buttons as high as the
// toolbar, each showing its action's image and tool tip.
QList<ToolbarButton *> FillToolbar(QWidget *toolbar, int iconPixels, std::span<const ButtonDesign> buttons)
{
    auto *row = new QHBoxLayout(toolbar);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    QList<ToolbarButton *> widgets;
    for (const ButtonDesign &design : buttons) {
        auto *action = new QAction(ProgramIcons::Named(QLatin1StringView(design.icon)), QString(), toolbar);
        action->setObjectName(QString::fromUtf16(design.key));
        action->setToolTip(QString::fromUtf16(design.toolTip));
        auto *button = new ToolbarButton(toolbar);
        button->setDefaultAction(action);
        button->setAutoRaise(true);
        button->setIconSize(QSize(iconPixels, iconPixels));
        button->setFixedSize(toolbar->height(), toolbar->height());
        button->setAccessibleName(action->toolTip());
        row->addWidget(button);
        widgets.append(button);
    }
    row->addStretch();
    return widgets;
}

QList<QAction *> ActionsOf(const QList<ToolbarButton *> &widgets)
{
    QList<QAction *> actions;
    for (ToolbarButton *button : widgets)
        actions.append(button->defaultAction());
    return actions;
}

QWidget *MakeToolbar(const QString &name, const QRect &twips, QWidget *parent)
{
    auto *toolbar = new QWidget(parent);
    toolbar->setObjectName(name);
    PlaceInTwips(toolbar, twips);
    return toolbar;
}

} // namespace

void ScreenDesign::SetupUi(QWidget *client, RecordList &list)
{
    SetupListArea(client, list);
    SetupFrames(client);
    SetupFields();
    SetupToolbars();
    SetupFocusOrder();
}

void ScreenDesign::SetupFrames(QWidget *client)
{
    Frame1 = MakeFrame(u"Frame1"_s, {45, 180, 9615, 2010}, client);
    // The top band lies in front of `Frame1` and hides its empty upper part.
    Frame2 = MakeFrame(u"Frame2"_s, {150, -90, 9420, 1065}, client);
    Frame2->setAutoFillBackground(true);
    Frame4 = MakeFrame(u"Frame4"_s, {0, 285, 2580, 780}, Frame2);
    Frame1->setMouseTracking(true);
}

void ScreenDesign::SetupFields()
{
    const QFont font = LabelFont();
    for (const FieldDesign &design : Fields) {
        QWidget *container = design.inTopBand ? Frame2 : Frame1;
        Shape1[design.shapeIndex] = MakeShape(design.shapeIndex, design.shapeTwips, container);

        auto *label = new QLabel(QString::fromUtf16(design.caption), container);
        label->setObjectName(u"Label1_%1"_s.arg(design.labelIndex));
        label->setToolTip(QString::fromUtf16(design.toolTip));
        label->setFont(font);
        PlaceInTwips(label, design.labelTwips);
        Label1[design.labelIndex] = label;

        auto *field = new InputField(design.fieldIndex, container);
        field->setObjectName(u"Text1_%1"_s.arg(design.fieldIndex));
        field->setAccessibleName(label->text());
        // A screen reader gives the hint that the label's tool tip shows.
        field->setAccessibleDescription(label->toolTip());
        PlaceInTwips(field, design.fieldTwips);
        label->setBuddy(field);
        Text1[design.fieldIndex] = field;
    }
}

void ScreenDesign::SetupToolbars()
{
    Toolbar1 = MakeToolbar(u"Toolbar1"_s, {195, 120, 2325, 570}, Frame4);
    Toolbar1Widgets = FillToolbar(Toolbar1, 32, Toolbar1Design);
    Toolbar1Buttons = ActionsOf(Toolbar1Widgets);

    Toolbar2 = MakeToolbar(u"Toolbar2"_s, {5800, 105, 1815, 360}, Frame2);
    Toolbar2Widgets = FillToolbar(Toolbar2, 16, Toolbar2Design);
    Toolbar2Buttons = ActionsOf(Toolbar2Widgets);
    // The database buttons stand where they stood, in a group of their own:
    // a screen reader hears four choices of which one is taken.
    auto *databases = new ChoiceGroup(u"Databases"_s, Toolbar2);
    auto *row = static_cast<QBoxLayout *>(Toolbar2->layout());
    for (int number = 1; number <= DatabaseFiles::Count; ++number) {
        const QString name = DatabaseFiles::DisplayName(number);
        Toolbar2Buttons[number - 1]->setCheckable(true);
        Toolbar2Buttons[number - 1]->setToolTip(name);
        ToolbarButton *button = Toolbar2Widgets[number - 1];
        button->setAccessibleName(name);
        button->SetPurpose(ToolbarButton::Purpose::Choice);
        row->removeWidget(button);
        databases->AddButton(button);
    }
    row->insertWidget(0, databases);
    Toolbar2Widgets.constLast()->SetPurpose(ToolbarButton::Purpose::MenuOpener);
}

void ScreenDesign::SetupFocusOrder()
{
    // The designed order of the fields: a record is typed from its Product
    // on, the Web Contact last. Then the record toolbar, so that Add follows
    // the last field, the database toolbar and the list; Tab from the list
    // comes back to the Product.
    using Field = RecordForm::FieldIndex;
    QList<QWidget *> order;
    for (const Field field : {Field::ProductField, Field::RegistrationDateField, Field::RegistrantField,
                              Field::CustomerIdField, Field::RegistrationField, Field::WebContactField})
        order.append(Text1[field]);
    order.append({Toolbar1Widgets.cbegin(), Toolbar1Widgets.cend()});
    order.append({Toolbar2Widgets.cbegin(), Toolbar2Widgets.cend()});
    order.append(ListView1);
    for (qsizetype i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(order[i - 1], order[i]);
}

void ScreenDesign::SetupListArea(QWidget *client, RecordList &list)
{
    Shape1[5] = MakeShape(5, {30, 2220, 7530, 345}, client);
    Shape1[7] = MakeShape(7, {30, 2475, 7530, 2970}, client);
    Shape1[6] = MakeShape(6, {30, 5370, 7530, 345}, client);
    Line2 = new LineWidget({30, 2445, 30, 5475}, client);
    Line2->setObjectName(u"Line2"_s);
    Line1 = new LineWidget({7545, 2445, 7545, 5565}, client);
    Line1->setObjectName(u"Line1"_s);

    ListView1 = new RecordListView(list, client);
    ListView1->setObjectName(u"ListView1"_s);
    ListView1->setAccessibleName(u"Records"_s);
    PlaceInTwips(ListView1, {75, 2265, 7455, 3375});
}

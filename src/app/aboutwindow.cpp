#include "aboutwindow.h"

#include "linklabel.h"
#include "platform/appinfo.h"
#include "platform/shellservices.h"
#include "views/linkcolour.h"
#include "views/twips.h"

#include <QApplication>
#include <QBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>

using namespace Qt::StringLiterals;

namespace {

constexpr int ClientWidthTwips = 5730;
constexpr int ClientHeightTwips = 3555;
constexpr int IconPixels = 48;

QFont DesignFont(const QString &family, qreal points, bool bold)
{
    QFont font(family);
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

LinkLabel *MakeLink(const QString &caption, const QString &name, QWidget *parent)
{
    auto *label = new LinkLabel(caption, parent);
    label->setObjectName(name);
    QFont font = DesignFont(u"Arial"_s, 11.25, true);
    font.setUnderline(true);
    label->setFont(font);
    QPalette colours = label->palette();
    colours.setColor(QPalette::WindowText, LinkColour::On(colours.color(QPalette::Window)));
    label->setPalette(colours);
    return label;
}

QFrame *DecorativeLine(const QColor &colour, QWidget *parent)
{
    auto *line = new QFrame(parent);
    line->setFixedHeight(1);
    line->setAutoFillBackground(true);
    QPalette colours = line->palette();
    colours.setColor(QPalette::Window, colour);
    line->setPalette(colours);
    return line;
}

} // namespace

AboutWindow::AboutWindow(ShellServices &shell, QWidget *parent)
    : QDialog(parent)
    , m_shell(shell)
{
    setObjectName(u"frmAbout"_s);
    // A fixed dialog frame without minimise and maximise and without a
    // task-bar entry.
    setWindowFlags(Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    BuildControls();
    setFixedSize(TwipsToPixels(ClientWidthTwips, this), TwipsToPixels(ClientHeightTwips, this));
    Load();
}

QString AboutWindow::InformationText() const
{
    return m_information;
}

void AboutWindow::StartSysInfo()
{
    if (m_shell.StartSystemInformation())
        return;
    QMessageBox message(QMessageBox::NoIcon, QString(AppInfo::ApplicationTitle),
                        u"System Information Is Unavailable At This Time"_s, QMessageBox::Ok, this);
    message.exec();
}

void AboutWindow::BuildControls()
{
    m_picIcon = new QLabel(this);
    m_picIcon->setObjectName(u"picIcon"_s);
    m_picIcon->setFixedSize(IconPixels, IconPixels);

    m_lblTitle = new QLabel(this);
    m_lblTitle->setObjectName(u"lblTitle"_s);
    m_lblTitle->setFont(DesignFont(u"Verdana"_s, 12, true));
    m_lblVersion = new QLabel(this);
    m_lblVersion->setObjectName(u"lblVersion"_s);
    m_lblDescription = new QLabel(this);
    m_lblDescription->setObjectName(u"lblDescription"_s);
    m_lblDescription->setFont(DesignFont(u"Arial"_s, 9, false));

    m_text1 = new QPlainTextEdit(this);
    m_text1->setObjectName(u"Text1"_s);
    m_text1->setReadOnly(true);
    // No label names the box; a screen reader would announce an unnamed text.
    m_text1->setAccessibleName(u"Program information"_s);

    m_label1 = MakeLink(u"Korvane web site"_s, u"Label1"_s, this);
    m_lblDisclaimer = MakeLink(QString(AppInfo::MakerHome), u"lblDisclaimer"_s, this);
    connect(m_label1, &LinkLabel::activated, this, &AboutWindow::OpenProductSite);
    connect(m_lblDisclaimer, &LinkLabel::activated, this, [this] { m_shell.ShellOpen(m_lblDisclaimer->text()); });

    auto *cmdOK = new QPushButton(u"Close"_s, this);
    cmdOK->setObjectName(u"cmdOK"_s);
    cmdOK->setDefault(true);
    connect(cmdOK, &QPushButton::clicked, this, &QDialog::close);
    auto *cmdSysInfo = new QPushButton(u"&System Info..."_s, this);
    cmdSysInfo->setObjectName(u"cmdSysInfo"_s);
    connect(cmdSysInfo, &QPushButton::clicked, this, &AboutWindow::StartSysInfo);
    auto *command1 = new QPushButton(u"Go to Website"_s, this);
    command1->setObjectName(u"Command1"_s);
    connect(command1, &QPushButton::clicked, this, &AboutWindow::OpenProductSite);
    // Tab follows the window from top to bottom and from left to right.
    const QList<QWidget *> order{m_text1, m_label1, m_lblDisclaimer, command1, cmdSysInfo, cmdOK};
    for (qsizetype i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(order[i - 1], order[i]);

    auto *headings = new QVBoxLayout;
    headings->addWidget(m_lblTitle);
    headings->addWidget(m_lblVersion);
    headings->addWidget(m_lblDescription);
    auto *top = new QHBoxLayout;
    top->addWidget(m_picIcon, 0, Qt::AlignTop);
    top->addLayout(headings, 1);

    auto *links = new QHBoxLayout;
    links->addWidget(m_label1);
    links->addStretch();
    links->addWidget(m_lblDisclaimer);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(command1);
    buttons->addStretch();
    buttons->addWidget(cmdSysInfo);
    buttons->addWidget(cmdOK);

    auto *window = new QVBoxLayout(this);
    window->addLayout(top);
    window->addWidget(m_text1, 1);
    window->addLayout(links);
    window->setSpacing(4);
    // Grey over white reads as an etched rule on any background.
    auto *lines = new QVBoxLayout;
    lines->setSpacing(0);
    lines->addWidget(DecorativeLine(QColor(128, 128, 128), this));
    lines->addWidget(DecorativeLine(QColor(255, 255, 255), this));
    window->addLayout(lines);
    window->addLayout(buttons);
}

void AboutWindow::Load()
{
    setWindowTitle(u"About "_s + AppInfo::ApplicationTitle);
    m_lblVersion->setText(
        u"Version %1.%2.%3"_s.arg(AppInfo::VersionMajor).arg(AppInfo::VersionMinor).arg(AppInfo::VersionRevision));
    m_lblTitle->setText(AppInfo::ApplicationTitle);
    m_lblDescription->setText(u"Registration and serial number storage"_s);

    QString productSite = AppInfo::ProductSite;
    productSite.chop(1);
    // Lines 1 to 3 repeat what the labels show, read back from them.
    m_information =
        QStringList{
            u"Application name: "_s + m_lblTitle->text(),
            u"Use for: "_s + m_lblDescription->text(),
            m_lblVersion->text(),
            u"Korvane is made and published by "_s + AppInfo::OrganizationName + u' ',
            u"web home: "_s + productSite,
            QString(),
            u"Press the Close button to close this screen, the Go to Website button to open a browser to check for updates. For support visit: "_s
                + AppInfo::SupportPage,
        }
            .join(u"\r\n"_s);
    m_text1->setPlainText(m_information);

    m_picIcon->setPixmap(QApplication::windowIcon().pixmap(QSize(IconPixels, IconPixels), devicePixelRatio()));
    setWindowIcon(QIcon(m_picIcon->pixmap()));
}

void AboutWindow::OpenProductSite()
{
    m_shell.ShellOpen(AppInfo::ProductSite);
}

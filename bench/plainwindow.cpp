// The yardstick for the program's start: the plainest Qt Widgets program
// that shows one empty list with the record list's seven columns, and waits.

#include <QApplication>
#include <QStandardItemModel>
#include <QTableView>

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    QStandardItemModel model(0, 7);
    model.setHorizontalHeaderLabels({QStringLiteral("Product"), QStringLiteral("Registrant"),
                                     QStringLiteral("Customer ID"), QStringLiteral("Registration"),
                                     QStringLiteral("Web Contact"), QStringLiteral("Registration Date"),
                                     QStringLiteral("Recorded")});
    QTableView list;
    list.setWindowTitle(QStringLiteral("Plain list"));
    list.setModel(&model);
    list.resize(640, 480);
    list.show();
    return QApplication::exec();
}

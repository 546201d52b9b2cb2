#include "appinfo.h"
#include "editing/currentdatabase.h"
#include "store/databaseselection.h"
#include "platform/qsettingsstore.h"
#include "platform/standardfolders.h"

#include <QApplication>
#include <QHeaderView>
#include <QTableView>

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    QApplication::setOrganizationName(AppInfo::OrganizationName);
    QApplication::setApplicationName(AppInfo::ApplicationTitle);

    QSettingsStore settings;
    StandardFolders folders;
    DatabaseSelection selection(settings);
    CurrentDatabase database(folders, selection);
    selection.RestoreCurrentDatabase();

    QTableView view;
    view.setWindowTitle(AppInfo::ApplicationTitle);
    view.setModel(&database.List());
    view.setSelectionModel(database.List().SelectionModel());
    view.verticalHeader()->hide();
    view.resize(655, 494);
    view.show();
    database.LoadDatabase();

    return application.exec();
}

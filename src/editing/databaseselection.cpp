#include "databaseselection.h"

#include "platform/settingsstore.h"
#include "platform/settingvalues.h"

using namespace Qt::StringLiterals;

DatabaseSelection::DatabaseSelection(SettingsStore &settings, QObject *parent)
    : QObject(parent)
    , m_settings(settings)
{}

void DatabaseSelection::RestoreCurrentDatabase()
{
    const QString stored = m_settings.ReadSetting(SettingsKeyPath(), SettingValues::CurrentDatabase).trimmed();
    bool isNumber = false;
    const int number = stored.toInt(&isNumber);
    // The program only ever stores 1 to 4; anything else is treated as unset.
    m_current = isNumber && DatabaseFiles::IsDatabaseNumber(number) ? number : 1;
    m_buttonPressed[m_current - 1] = true;
    emit indicatorsChanged();
}

void DatabaseSelection::SelectDatabase(int number)
{
    Q_ASSERT(DatabaseFiles::IsDatabaseNumber(number));
    for (int other = 1; other <= DatabaseFiles::Count; ++other) {
        if (other != number)
            m_buttonPressed[other - 1] = false;
    }
    m_current = number;
    m_settings.WriteSetting(SettingsKeyPath(), SettingValues::CurrentDatabase, QString::number(number));
    emit indicatorsChanged();
    emit databaseSelected();
}

void DatabaseSelection::ClickButton(int number)
{
    SetButtonPressed(number, !IsButtonPressed(number));
    SelectDatabase(number);
}

void DatabaseSelection::ChooseFromMenu(int number)
{
    const bool wasChecked = IsMenuChecked(number);
    m_menuChecked.fill(false);
    m_menuChecked[number - 1] = !wasChecked;
    SelectDatabase(number);
    SetButtonPressed(number, true);
}

QString DatabaseSelection::CurrentDatabaseStem() const
{
    return DatabaseFiles::Stem(m_current);
}

bool DatabaseSelection::IsButtonPressed(int number) const
{
    return m_buttonPressed[number - 1];
}

bool DatabaseSelection::IsMenuChecked(int number) const
{
    return m_menuChecked[number - 1];
}

void DatabaseSelection::SetButtonPressed(int number, bool pressed)
{
    m_buttonPressed[number - 1] = pressed;
    emit indicatorsChanged();
}

#pragma once

#include "store/databasefiles.h"

#include <QObject>

#include <array>

class SettingsStore;

// Which of the four databases is current, and what the window shows of that
// choice: the pressed state of the four database toolbar buttons and the
// check marks of the four database menu entries. The window mirrors this
// state; it keeps none of its own.
class DatabaseSelection : public QObject
{
    Q_OBJECT

public:
    explicit DatabaseSelection(SettingsStore &settings, QObject *parent = nullptr);

    // Start-up: the database stored in the settings (database 1 when none or
    // an unknown one is stored) becomes current and its button pressed.
    // Writes nothing and loads nothing.
    void RestoreCurrentDatabase();

    // Makes database n current, releases the other buttons, stores the
    // choice and asks for the list to be reloaded.
    void SelectDatabase(int number);

    // A click on database button n, which has already flipped its own state
    // as a check button does.
    void ClickButton(int number);

    // The database menu entry n: flips its own check mark and clears the
    // others, selects, and presses button n.
    void ChooseFromMenu(int number);

    int CurrentDatabase() const { return m_current; }
    QString CurrentDatabaseStem() const;
    bool IsButtonPressed(int number) const;
    bool IsMenuChecked(int number) const;

signals:
    // The list must be emptied and filled from the current database's file.
    void databaseSelected();
    // Buttons or check marks changed.
    void indicatorsChanged();

private:
    void SetButtonPressed(int number, bool pressed);

    SettingsStore &m_settings;
    int m_current = 1;
    std::array<bool, DatabaseFiles::Count> m_buttonPressed{};
    std::array<bool, DatabaseFiles::Count> m_menuChecked{};
};

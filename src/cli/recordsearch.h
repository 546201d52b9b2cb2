#pragma once

#include "store/registrationrecord.h"

#include <QByteArray>
#include <QString>

#include <array>

// Finds records in which any field contains a text, ignoring letter case as
// QString's case-insensitive comparison does (é finds É, € finds only €).
// It compares Windows-1252 bytes through a folding table instead of turning
// every field into Unicode, because a search runs over all four databases.
class RecordSearch
{
public:
    explicit RecordSearch(QStringView text);

    bool Matches(const RegistrationRecord &record) const;

private:
    // Each byte's stand-in for all bytes that differ from it in case only.
    std::array<unsigned char, 256> m_fold{};
    QByteArray m_foldedText;
    // The text holds a character no field can hold: nothing matches.
    bool m_impossible = false;
};

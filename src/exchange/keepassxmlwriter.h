#pragma once

#include "databaserecords.h"

#include <QByteArray>
#include <QList>
#include <QStringList>

// Records as a KeePass 2 XML file, the plain export format that KeePass and
// KeePassXC import. Under one group "Korvane", each database is a group named
// as its toolbar button, and each record an entry:
//
//   Title = Product, UserName = Registrant, Password = Registration,
//   URL = Web Contact, and the string fields "Customer ID",
//   "Registration Date" and "Recorded".
//
// An entry's UUID is derived from its database, its Product and the how-manyth
// record of that Product it is, and its times from the Recorded stamp (last
// modified) and the Registration Date (created, where it reads as a date),
// so a re-export updates the same entries when KeePass merges it.
QByteArray WriteKeePassXml(const QList<DatabaseRecords> &databases);

// What would be lost on the way: every field holding a control character
// that XML cannot carry or KeePassXC strips. Empty when nothing would. A
// carriage return is written as a character reference and arrives; KeePassXC
// keeps it until it writes its own XML, where CR LF becomes LF.
QStringList KeePassXmlObstacles(const QList<DatabaseRecords> &databases);

#pragma once

#include "databaserecords.h"

#include <QList>
#include <QStringList>

// What KeePass XML would lose of the records on the way: every field holding
// a control character that XML cannot carry or KeePassXC strips, one line
// each. Empty when nothing would. A carriage return is written as a
// character reference and arrives; KeePassXC keeps it until it writes its
// own XML, where CR LF becomes LF.
QStringList KeePassXmlObstacles(const QList<DatabaseRecords> &databases);

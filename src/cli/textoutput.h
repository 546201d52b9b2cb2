#pragma once

#include "exchange/recordwriter.h"

#include <QByteArray>
#include <QString>

#include <memory>

// The writer of the format a command line names: "table" and "text" for
// people, "csv", "json" and "keepass-xml" as the exchange formats write them.
std::unique_ptr<RecordWriter> WriterFor(const QString &format);

// UTF-8 output as a terminal may show it: control characters as Unicode's
// control pictures (ESC as U+241B), the C1 controls as U+FFFD, as the
// listings show fields. Line feeds, tabs and CR LF line ends stay.
QByteArray ForTerminal(QByteArrayView utf8);

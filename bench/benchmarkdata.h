#pragma once

#include "store/registrationrecord.h"

#include <QByteArray>
#include <QList>

#include <string>

// Reproducible databases with the spread of a real collection: for a full
// database about 26,000 distinct products from a few thousand vendors, about
// a thousand registrants, several thousand web contacts, codes and ids of
// many shapes, and Windows-1252 text beyond ASCII (accented names, €, Š, Ž,
// œ, ‰). Each database number gives other records from its own seed.
QList<RegistrationRecord> MakeBenchmarkRecords(int count, int database = 1);

// A database file of the records as the program leaves one after months of
// use: stretches of lines from whole-file rewrites (CR LF inside the encoded
// text) between stretches of appended lines (without).
QByteArray MakeBenchmarkFile(const QList<RegistrationRecord> &records);

// How varied the records are, in one line: distinct products, registrants
// and web contacts, and the share of records with characters beyond ASCII.
std::string DescribeBenchmarkRecords(const QList<RegistrationRecord> &records);

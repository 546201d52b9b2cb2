#pragma once

#include <QValidator>

// Keeps field text storable in a record line: removes "|", the field
// separator on disk, and every character Windows-1252 cannot hold. It cleans
// text rather than rejecting it, so a paste keeps everything else.
class StorableTextValidator : public QValidator
{
    Q_OBJECT

public:
    using QValidator::QValidator;

    static bool IsStorable(QChar c);
    static QString Storable(QStringView text);

    State validate(QString &input, int &position) const override;
};

#pragma once

#include <QValidator>

// Keeps field text storable (see StorableText). It cleans text rather than
// rejecting it, so a paste keeps everything else.
class StorableTextValidator : public QValidator
{
    Q_OBJECT

public:
    using QValidator::QValidator;

    State validate(QString &input, int &position) const override;
};

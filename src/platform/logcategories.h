#pragma once

#include <QLoggingCategory>

// Failures the user is never told about are still logged here for developers
// (QT_LOGGING_RULES="korvane.*=true").
Q_DECLARE_LOGGING_CATEGORY(lcPlatform)
Q_DECLARE_LOGGING_CATEGORY(lcStore)
Q_DECLARE_LOGGING_CATEGORY(lcExchange)

#include "logcategories.h"

Q_LOGGING_CATEGORY(lcPlatform, "korvane.platform", QtWarningMsg)
Q_LOGGING_CATEGORY(lcStore, "korvane.store", QtWarningMsg)
Q_LOGGING_CATEGORY(lcExchange, "korvane.exchange", QtWarningMsg)

#include "driver/zr6200fp_driverTrace.h"

Q_LOGGING_CATEGORY(lcDriver, "tervix.driver", QtWarningMsg)

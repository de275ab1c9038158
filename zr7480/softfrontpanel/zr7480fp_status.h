#pragma once

#include "visa.h"

// The rule every panel applies after a driver call: 0 says nothing; a
// positive status goes out as a warning with the driver's text; a negative
// one as "Operation failed due to [...]", after which the process ends
// with exit code 1.
void checkDriverStatus(ViStatus status);

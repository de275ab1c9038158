#pragma once

#include <utility>

#include "driver/zr6200fp_driverTrace.h"
#include "visa.h"

// The rule every panel applies after a driver call: 0 says nothing; a
// positive status goes out as a warning with the driver's text; a negative
// one as "Operation failed due to [...]", after which the process ends
// with exit code 1.
void checkDriverStatus(ViStatus status);

// With a session, calls the driver operation on it and applies the status
// rule; in demo mode (no session) calls nothing. True when it called.
template <typename... Params, typename... Args>
bool zr7480fp_cardCall(const char *name, ViStatus (*function)(ViSession, Params...), ViSession session, Args &&...args)
{
    if (session == VI_NULL)
        return false;
    checkDriverStatus(zr6200fp_trace::traced(name, function, session, std::forward<Args>(args)...));
    return true;
}

#define ZR_CARD_CALL(function, ...) zr7480fp_cardCall(#function, function, __VA_ARGS__)

#pragma once

#include <utility>

#include "driver/zr6200fp_driverTrace.h"
#include "visa.h"

// How the card's pages call the instrument driver.
namespace zr7480fp_cardCall {

// The rule every panel applies after a driver call: 0 says nothing; a
// positive status goes out as a warning with the driver's text; a negative
// one as "Operation failed due to [...]", after which the process ends
// with exit code 1.
void applyStatusRule(ViStatus status);

// With a session, calls the driver operation on it and applies the status
// rule; in demo mode (no session) calls nothing. True when it called.
template <typename... Params, typename... Args>
bool unlessDemo(const char *name, ViStatus (*function)(ViSession, Params...), ViSession session, Args &&...args)
{
    if (session == VI_NULL)
        return false;
    applyStatusRule(zr6200fp_trace::traced(name, function, session, std::forward<Args>(args)...));
    return true;
}

} // namespace zr7480fp_cardCall

// Calls function(session, ...) through the driver trace unless in demo mode
// (no session), and ends the process with exit code 1 on a negative status.
#define ZR_CARD_CALL_UNLESS_DEMO_EXIT_ON_ERROR(function, ...)                                                          \
    zr7480fp_cardCall::unlessDemo(#function, function, __VA_ARGS__)

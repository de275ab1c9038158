#pragma once

#include <QLoggingCategory>
#include <QString>
#include <QStringList>
#include <tuple>
#include <type_traits>
#include <utility>

#include "driver/zr6200fp_driverText.h"
#include "visa.h"

// Every call the panel makes into the VISA library and the two driver
// libraries, the carrier object's interface lookups and readers included,
// goes through ZR_DRIVER_CALL, so a lab engineer can see what was sent with
// QT_LOGGING_RULES="tervix.driver.debug=true". Off by default.
Q_DECLARE_LOGGING_CATEGORY(lcDriver)

namespace zr6200fp_trace {

// Arguments are shown after the call: output buffers show what the library
// wrote, pointers to numbers show the number ("&5"). A result is shown the
// same way: a status as its number, an interface as "&..." or "NULL".
inline QString argText(const char *text)
{
    return text ? QLatin1Char('"') + QString::fromLatin1(text) + QLatin1Char('"') : QStringLiteral("NULL");
}
inline QString argText(char *text)
{
    return argText(static_cast<const char *>(text));
}
inline QString argText(double value)
{
    return QString::number(value, 'g', 10);
}
template <typename T> QString argText(T *pointer)
{
    if constexpr (std::is_arithmetic_v<T>)
        return pointer ? QLatin1Char('&') + QString::number(*pointer) : QStringLiteral("NULL");
    else
        return pointer ? QStringLiteral("&...") : QStringLiteral("NULL");
}
template <typename T> std::enable_if_t<std::is_integral_v<T>, QString> argText(T value)
{
    return QString::number(value);
}
inline QString argText(std::nullptr_t)
{
    return QStringLiteral("NULL");
}

// A character array the call was given is read only up to its size: the
// library may have filled an output buffer to the last byte, and the caller
// terminates it only after the call.
template <typename Arg, typename Param> QString shownArg(const Arg &arg, const Param &converted)
{
    if constexpr (std::is_array_v<Arg> && std::is_same_v<std::remove_cv_t<std::remove_extent_t<Arg>>, char>)
        return QLatin1Char('"') + zr6200fp_driverText::fromBuffer(arg, std::extent_v<Arg>) + QLatin1Char('"');
    else
        return argText(converted);
}

template <typename Tuple, std::size_t... I, typename... Args>
QStringList shownArgs(const Tuple &converted, std::index_sequence<I...>, const Args &...args)
{
    return QStringList{shownArg(args, std::get<I>(converted))...};
}

// The arguments are converted to the function's parameter types once, so
// the call and the trace see the same values.
template <typename Result, typename... Params, typename... Args>
Result traced(const char *name, Result (*function)(Params...), Args &&...args)
{
    std::tuple<Params...> converted(args...);
    const Result result = std::apply(function, converted);
    if (lcDriver().isDebugEnabled()) {
        const QStringList parts = shownArgs(converted, std::index_sequence_for<Args...>{}, args...);
        qCDebug(lcDriver, "%s(%s) -> %s", name, qUtf8Printable(parts.join(QLatin1String(", "))),
                qUtf8Printable(argText(result)));
    }
    return result;
}

} // namespace zr6200fp_trace

#define ZR_DRIVER_CALL(function, ...) zr6200fp_trace::traced(#function, function, __VA_ARGS__)

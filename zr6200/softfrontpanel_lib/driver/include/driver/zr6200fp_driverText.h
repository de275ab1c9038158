#pragma once

#include <QString>
#include <cstddef>

#include "visa.h"

// Texts from the VISA and driver libraries: 8-bit Latin-1 in buffers of a
// fixed size, which a library may fill to the last byte without a
// terminator.
namespace zr6200fp_driverText {

QString fromBuffer(const char *buffer, std::size_t size);
template <std::size_t N> QString fromBuffer(const char (&buffer)[N])
{
    return fromBuffer(buffer, N);
}

// The text, or the status number as VISA users know it ("0xBFFF0011")
// when the library had none.
QString orStatus(const QString &text, ViStatus status);

} // namespace zr6200fp_driverText

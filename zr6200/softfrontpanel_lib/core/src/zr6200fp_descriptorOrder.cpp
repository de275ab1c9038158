#include "core/zr6200fp_descriptorOrder.h"

#include <algorithm>
#include <array>
#include <climits>

#include "zr6200fp_cScan.h"

namespace {

bool isAsciiLetter(QChar c)
{
    return (c >= QLatin1Char('A') && c <= QLatin1Char('Z')) || (c >= QLatin1Char('a') && c <= QLatin1Char('z'));
}

// The leading run of ASCII letters, upper-cased.
QString interfaceType(const QString &descriptor)
{
    int n = 0;
    while (n < descriptor.size() && isAsciiLetter(descriptor.at(n)))
        ++n;
    return descriptor.left(n).toUpper();
}

// A signed decimal integer at pos, as "%d" scans it; an out-of-range value
// saturates. False, with pos unchanged, when there is no number.
bool readInt(const QString &s, int &pos, int &value)
{
    long long v = 0;
    const int used = zr6200fp_cScan::readInt(s.constData() + pos, int(s.size()) - pos, -qint64(INT_MIN), v);
    if (!used)
        return false;
    value = int(std::clamp<long long>(v, INT_MIN, INT_MAX));
    pos += used;
    return true;
}

bool readLiteral(const QString &s, int &pos, QLatin1String literal)
{
    if (QStringView(s).mid(pos).startsWith(literal)) {
        pos += literal.size();
        return true;
    }
    return false;
}

// Board number and the four parts of a dotted address; numbers not read
// stay 0.
std::array<int, 5> tcpipNumbers(const QString &s, int pos)
{
    std::array<int, 5> numbers{};
    if (!readInt(s, pos, numbers[0]) || !readLiteral(s, pos, QLatin1String("::")))
        return numbers;
    for (int i = 1; i <= 4; ++i) {
        if (i > 1 && !readLiteral(s, pos, QLatin1String(".")))
            break;
        if (!readInt(s, pos, numbers[size_t(i)]))
            break;
    }
    return numbers;
}

int boardNumber(const QString &s, int pos)
{
    int board = 0;
    readInt(s, pos, board);
    return board;
}

} // namespace

bool descriptorLessThan(QString a, QString b)
{
    const QString typeA = interfaceType(a);
    const QString typeB = interfaceType(b);
    if (typeA != typeB)
        return a < b;
    if (typeA == QLatin1String("TCPIP")) {
        const auto na = tcpipNumbers(a, typeA.size());
        const auto nb = tcpipNumbers(b, typeB.size());
        for (size_t i = 0; i < na.size(); ++i) {
            if (na[i] != nb[i])
                return na[i] < nb[i];
        }
        return false;
    }
    static const QLatin1String boardTypes[] = {QLatin1String("VXI"),    QLatin1String("GPIB"),
                                               QLatin1String("SOCKET"), QLatin1String("BACKPLANE"),
                                               QLatin1String("PXI"),    QLatin1String("ASRL")};
    for (const QLatin1String &t : boardTypes) {
        if (typeA == t)
            return boardNumber(a, typeA.size()) < boardNumber(b, typeB.size());
    }
    return a < b;
}

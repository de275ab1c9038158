#include "core/zr6200fp_descriptorOrder.h"

#include <array>
#include <climits>

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

bool isCSpace(QChar c)
{
    return c == QLatin1Char(' ') || (c >= QLatin1Char('\t') && c <= QLatin1Char('\r'));
}

// Reads a signed decimal integer at pos as the C library's %d scanning
// does: leading white space skipped, an optional sign. Out-of-range values
// saturate. Returns false, leaving pos unchanged, when there is no number.
bool readInt(const QString &s, int &pos, int &value)
{
    int p = pos;
    while (p < s.size() && isCSpace(s.at(p)))
        ++p;
    bool negative = false;
    if (p < s.size() && (s.at(p) == QLatin1Char('+') || s.at(p) == QLatin1Char('-'))) {
        negative = s.at(p) == QLatin1Char('-');
        ++p;
    }
    const int digitsStart = p;
    long long magnitude = 0;
    while (p < s.size() && s.at(p) >= QLatin1Char('0') && s.at(p) <= QLatin1Char('9')) {
        if (magnitude <= INT_MAX)
            magnitude = magnitude * 10 + (s.at(p).unicode() - '0');
        ++p;
    }
    if (p == digitsStart)
        return false;
    const long long v = negative ? -magnitude : magnitude;
    value = v > INT_MAX ? INT_MAX : v < INT_MIN ? INT_MIN : int(v);
    pos = p;
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
    return zr6200fp_descriptorKey(a) < zr6200fp_descriptorKey(b);
}

zr6200fp_descriptorKey::zr6200fp_descriptorKey(const QString &descriptor)
    : m_descriptor(descriptor)
    , m_type(interfaceType(descriptor))
{
    if (m_type == QLatin1String("TCPIP")) {
        m_kind = Kind::Tcpip;
        m_numbers = tcpipNumbers(descriptor, int(m_type.size()));
        return;
    }
    static const QLatin1String boardTypes[] = {QLatin1String("VXI"),    QLatin1String("GPIB"),
                                               QLatin1String("SOCKET"), QLatin1String("BACKPLANE"),
                                               QLatin1String("PXI"),    QLatin1String("ASRL")};
    for (const QLatin1String &t : boardTypes) {
        if (m_type == t) {
            m_kind = Kind::Board;
            m_numbers[0] = boardNumber(descriptor, int(m_type.size()));
            return;
        }
    }
}

bool zr6200fp_descriptorKey::operator<(const zr6200fp_descriptorKey &other) const
{
    // Of different types, or of a type without numbers: as texts.
    if (m_type != other.m_type || m_kind == Kind::Other)
        return m_descriptor < other.m_descriptor;
    if (m_kind == Kind::Tcpip)
        return m_numbers < other.m_numbers;
    return m_numbers[0] < other.m_numbers[0];
}

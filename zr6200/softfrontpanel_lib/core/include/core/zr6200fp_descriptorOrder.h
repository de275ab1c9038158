#pragma once

#include <QString>
#include <array>

// Less-than of two VISA resource descriptors: descriptors of one interface
// type compare by their numbers (board, then IPv4 address for TCPIP), so
// that VXI10 follows VXI9. It is not a strict weak ordering across types:
// sort with std::stable_sort, which stays memory-safe whatever it answers.
bool descriptorLessThan(QString a, QString b);

// A descriptor with the parts descriptorLessThan compares worked out once,
// for sorting many: key(a) < key(b) answers as descriptorLessThan(a, b).
class zr6200fp_descriptorKey final
{
public:
    explicit zr6200fp_descriptorKey(const QString &descriptor);

    bool operator<(const zr6200fp_descriptorKey &other) const;

private:
    enum class Kind { Tcpip, Board, Other };

    QString m_descriptor;
    QString m_type; // the leading run of ASCII letters, upper-cased
    Kind m_kind = Kind::Other;
    // Tcpip: the board and the four parts of the address; Board: the board
    // first. Numbers not read stay 0.
    std::array<int, 5> m_numbers{};
};

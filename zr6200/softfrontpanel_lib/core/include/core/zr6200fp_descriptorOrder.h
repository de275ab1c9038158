#pragma once

#include <QString>

// Less-than of two VISA resource descriptors: descriptors of one interface
// type compare by their numbers (board, then IPv4 address for TCPIP), so
// that VXI10 follows VXI9. It is not a strict weak ordering across types:
// sort with std::stable_sort, which stays memory-safe whatever it answers.
bool descriptorLessThan(QString a, QString b);

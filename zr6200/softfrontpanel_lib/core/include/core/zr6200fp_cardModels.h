#pragma once

#include <QString>

// What the family's model codes say. A model code's hexadecimal digits are
// the model number (0x7480 is the 7480).
namespace zr6200fp_cardModels {

// The model number as shown everywhere: the code in base 16 (its digits
// are the model number), right-aligned in 4 characters padded with blanks.
// The splash composer may ask for another base.
QString modelText(qint32 modelCode, int base = 16);

// The models that take several cards in one session (5902 and 5938): their
// address dialog has eight rows and their slots carry a two-letter suffix.
bool takesSeveralCards(qint32 modelCode);

// The model code shown for a card's raw identification code.
quint16 displayCode(quint16 rawCode);

} // namespace zr6200fp_cardModels

#pragma once

#include <string>
#include <vector>

#include "visa.h"

// The VISA search expressions of viFindRsrc without attribute tests or
// groups: literals, '?' (one character), "[...]" sets with ranges and '^',
// '*' and '+' after an atom, '\' escapes and '|' between alternatives.
// Matching is case-insensitive and covers the whole descriptor.
namespace simbench {

class FindExpression final
{
public:
    // VI_SUCCESS, or VI_ERROR_INV_EXPR for a malformed or unsupported expression.
    ViStatus compile(const char *expression);
    bool matches(const std::string &descriptor) const;

private:
    struct Atom
    {
        enum class Kind { Literal, Any, Set } kind = Kind::Literal;
        char literal = 0;
        std::vector<std::pair<char, char>> ranges;
        bool negated = false;
        bool repeated = false; // zero or more
        // u: a character of the text, upper-cased.
        bool matches(char u) const;
    };
    using Sequence = std::vector<Atom>;

    static bool matchSequence(const Sequence &atoms, const std::string &text, std::vector<char> &rest,
                              std::vector<char> &here);

    std::vector<Sequence> alternatives;
};

} // namespace simbench

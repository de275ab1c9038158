#include "findexpression.h"

#include <cctype>
#include <cstring>

namespace simbench {

namespace {
char upper(char c)
{
    return char(std::toupper(static_cast<unsigned char>(c)));
}
} // namespace

// Literals and ranges are upper-cased when compiled, the text once per match.
bool FindExpression::Atom::matches(char u) const
{
    switch (kind) {
    case Kind::Any:
        return true;
    case Kind::Literal:
        return u == literal;
    case Kind::Set:
        break;
    }
    bool in = false;
    for (const auto &[low, high] : ranges)
        in = in || (u >= low && u <= high);
    return in != negated;
}

ViStatus FindExpression::compile(const char *expression)
{
    alternatives.clear();
    if (!expression)
        return VI_ERROR_INV_EXPR;
    Sequence current;
    const std::size_t n = std::strlen(expression);
    for (std::size_t i = 0; i < n; ++i) {
        const char c = expression[i];
        Atom atom;
        switch (c) {
        case '|':
            if (current.empty())
                return VI_ERROR_INV_EXPR;
            alternatives.push_back(std::move(current));
            current.clear();
            continue;
        case '*':
        case '+':
            if (current.empty() || current.back().repeated)
                return VI_ERROR_INV_EXPR;
            if (c == '+')
                current.push_back(current.back()); // X+ is X X*
            current.back().repeated = true;
            continue;
        case '?':
            atom.kind = Atom::Kind::Any;
            break;
        case '\\':
            if (++i == n)
                return VI_ERROR_INV_EXPR;
            atom.literal = upper(expression[i]);
            break;
        case '[': {
            atom.kind = Atom::Kind::Set;
            ++i;
            if (i < n && expression[i] == '^') {
                atom.negated = true;
                ++i;
            }
            while (i < n && expression[i] != ']') {
                const char low = expression[i];
                char high = low;
                if (i + 2 < n && expression[i + 1] == '-' && expression[i + 2] != ']') {
                    high = expression[i + 2];
                    i += 2;
                }
                if (high < low)
                    return VI_ERROR_INV_EXPR;
                atom.ranges.emplace_back(upper(low), upper(high));
                ++i;
            }
            if (i == n || atom.ranges.empty())
                return VI_ERROR_INV_EXPR;
            break;
        }
        case ']':
        case '(':
        case ')':
        case '{':
        case '}':
        case '&':
            // Groups and attribute tests are not simulated.
            return VI_ERROR_INV_EXPR;
        default:
            atom.literal = upper(c);
            break;
        }
        current.push_back(std::move(atom));
    }
    if (current.empty())
        return VI_ERROR_INV_EXPR;
    alternatives.push_back(std::move(current));
    return VI_SUCCESS;
}

bool FindExpression::matches(const std::string &descriptor) const
{
    std::string text(descriptor.size(), '\0');
    for (std::size_t i = 0; i < descriptor.size(); ++i)
        text[i] = upper(descriptor[i]);
    std::vector<char> rest;
    std::vector<char> here;
    for (const Sequence &atoms : alternatives) {
        if (matchSequence(atoms, text, rest, here))
            return true;
    }
    return false;
}

// rest[j]: the atoms from i on match text from j to the end; built from the
// last atom back, so the time is atoms x length whatever the stars. rest and
// here are the caller's, to be reused.
bool FindExpression::matchSequence(const Sequence &atoms, const std::string &text, std::vector<char> &rest,
                                   std::vector<char> &here)
{
    const std::size_t len = text.size();
    rest.assign(len + 1, 0);
    rest[len] = 1;
    for (std::size_t i = atoms.size(); i-- > 0;) {
        const Atom &atom = atoms[i];
        here.assign(len + 1, 0);
        for (std::size_t j = len + 1; j-- > 0;) {
            const bool one = j < len && atom.matches(text[j]);
            if (atom.repeated)
                here[j] = rest[j] || (one && here[j + 1]);
            else
                here[j] = one && rest[j + 1];
        }
        rest.swap(here);
    }
    return rest[0] != 0;
}

} // namespace simbench

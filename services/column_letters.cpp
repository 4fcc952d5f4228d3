#include "services/column_letters.h"

#include <algorithm>

namespace lavodc {

std::string ColumnLetters(int column)
{
    std::string letters;
    // Bijective base 26: there is no zero digit, so "Z" is followed by "AA".
    for (int n = column + 1; n > 0; n = (n - 1) / 26)
        letters.push_back(static_cast<char>('A' + (n - 1) % 26));
    std::reverse(letters.begin(), letters.end());
    return letters;
}

} // namespace lavodc

// The masked-box text rule over arbitrary masks and texts: the shown string has one byte per
// position, and a text that went through a box once comes back the same the second time.
#include "core/edit_mask.h"

#include "fuzz_input.h"

#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    lavodc::fuzz::Input input(data, size);
    const std::string mask = input.piece();
    const std::string text(input.rest());

    const lavodc::EditMask edit(mask);
    const std::string shown = edit.shownFromText(text);
    if (shown.size() != edit.length())
        std::abort();
    for (std::size_t pos = 0; pos < edit.length(); ++pos) {
        if (edit.isLiteral(pos) && shown[pos] != edit.literalAt(pos))
            std::abort();
    }
    const std::string once = edit.normalize(text);
    if (edit.normalize(once) != once)
        std::abort();
    return 0;
}

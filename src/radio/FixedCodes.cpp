#include "FixedCodes.h"

#include "config/ImageLayout.h"

namespace zal {

bool IsValidFirstFixedCode(std::uint16_t first, bool plus) {
    return first != 0x0000 && first != 0xFFFF && !(plus && first >= 0xFFF7);
}

std::vector<std::uint16_t> FixedCodeBlock(std::uint16_t first, bool plus) {
    std::vector<std::uint16_t> codes{first};
    const int rows = plus ? kPlusFixedCodeCount : kFixedCodeCount;
    std::uint16_t code = first;
    for (int row = 1; row < rows; ++row) {
        code = static_cast<std::uint16_t>(code + 1);
        if (!plus && (code == 0x0000 || code == 0xFFFF))
            code = 0x0001;
        codes.push_back(code);
    }
    return codes;
}

} // namespace zal

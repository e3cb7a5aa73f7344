#pragma once

// The blocks of fixed radio ID codes a device gets: what the change windows derive from a first code,
// and what the production line reserves in the records.

#include <cstdint>
#include <vector>

namespace zal {

// Whether a code may be the first of a device's fixed codes: never 0000 or FFFF; for MUVE+ and MUVE+ II
// not above FFF6 either, as its eight followers must not reach FFFF.
bool IsValidFirstFixedCode(std::uint16_t first, bool plus);
// The fixed codes a device gets from its first: BORA, ZAL, MUVE and DORF six, each one more than the one
// before with 0000 and FFFF skipped (after FFFE comes 0001); MUVE+ and MUVE+ II nine, plain increments.
std::vector<std::uint16_t> FixedCodeBlock(std::uint16_t first, bool plus);

} // namespace zal

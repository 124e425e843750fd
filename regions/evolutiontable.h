#pragma once

#include <array>
#include <cstdint>

// Where the evolution table lies in the ROM and how its fields are laid out.
namespace EvolutionBlock {
inline constexpr std::int32_t FirstOffset = 0x3711640; // block of species 1
inline constexpr std::int32_t Size = 44;
inline constexpr int SpeciesCount = 493;

// File offset of the block of species s (1 to 493).
[[nodiscard]] constexpr std::int32_t offset(int species)
{
    return FirstOffset + Size * (species - 1);
}
} // namespace EvolutionBlock

// The first six bytes of a block: method byte, parameter word, target word.
namespace EvolutionEntry {
inline constexpr std::int32_t Method = 0;     // one byte
inline constexpr std::int32_t Parameter = 2;  // little-endian word; a level is its low byte
inline constexpr std::int32_t Target = 4;     // little-endian word
} // namespace EvolutionEntry

// Species number of row 0 of each region list (index 0 is region 1).
inline constexpr std::array<int, 4> RegionFirstSpecies = {0, 152, 252, 387};
inline constexpr std::array<int, 4> RegionRowCount = {152, 100, 135, 107};

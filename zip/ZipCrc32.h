#pragma once
// CRC-32 of the zip format (reflected IEEE 802.3 polynomial 0xEDB88320).
#include <cstddef>
#include <cstdint>

// The 256-entry table; the traditional cipher's key schedule steps through it too.
const uint32_t* ZipCrcTable();

// One table step: crc(k, b) = table[(k xor b) and 0xFF] xor (k shr 8).
inline uint32_t ZipCrcStep(uint32_t Crc, uint8_t Byte) { return ZipCrcTable()[(Crc ^ Byte) & 0xFF] ^ (Crc >> 8); }

// Continues a running CRC kept in its inverted form: start at 0xFFFFFFFF and
// invert the final value.
uint32_t ZipCrcUpdate(uint32_t Running, const uint8_t* Data, size_t Count);

// The finished CRC-32 of a whole buffer.
inline uint32_t ZipCrc32(const uint8_t* Data, size_t Count) { return ~ZipCrcUpdate(0xFFFFFFFFu, Data, Count); }

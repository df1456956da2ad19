#pragma once

#include <array>
#include <cstdint>
#include <span>

// The device's version record as the program holds it: the remote API's
// wide-character layout, five 32-bit fields and a fixed 128-unit text.
struct CEOSVERSIONINFO
{
    static constexpr int TextLength = 128;

    uint32_t size = 0;
    int32_t majorVersion = 0;
    int32_t minorVersion = 0;
    int32_t buildNumber = 0;
    uint32_t platformId = 0;
    std::array<char16_t, TextLength> serviceText{};
};
static_assert(sizeof(CEOSVERSIONINFO) == 276, "CEOSVERSIONINFO must keep the library's wide layout");

// The form the library call receives: the same fields, little-endian, with a
// text of 128 single-byte characters.
constexpr int SingleByteVersionRecordSize = 148;
using SingleByteVersionRecord = std::span<unsigned char, SingleByteVersionRecordSize>;
using ConstSingleByteVersionRecord = std::span<const unsigned char, SingleByteVersionRecordSize>;

// The single-byte code page is Latin-1: every byte is the character of the
// same number, and characters beyond Latin-1 become '?'.
void toSingleByte(const CEOSVERSIONINFO &info, SingleByteVersionRecord record);
CEOSVERSIONINFO fromSingleByte(ConstSingleByteVersionRecord record);

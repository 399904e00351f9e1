#pragma once
#include <cstdint>

// 0x00BBGGRR; a value whose top byte is 0xFF names a system colour by the
// index in its low byte.
using TColor = uint32_t;

inline constexpr TColor clBlack = 0x000000;
inline constexpr TColor clWhite = 0xFFFFFF;
inline constexpr TColor clRed = 0x0000FF;
inline constexpr TColor clBtnFace = 0xFF00000F;
inline constexpr TColor clWindowText = 0xFF000008;
inline constexpr TColor clGrayText = 0xFF000011;
inline constexpr TColor clWindow = 0xFF000005;

inline constexpr bool IsSystemColor(TColor color) { return (color >> 24) == 0xFF; }

// The 0x00BBGGRR value of a colour, asking the platform for system colours.
uint32_t ColorToRGB(TColor color);

inline constexpr uint8_t RedOf(uint32_t rgb) { return static_cast<uint8_t>(rgb); }
inline constexpr uint8_t GreenOf(uint32_t rgb) { return static_cast<uint8_t>(rgb >> 8); }
inline constexpr uint8_t BlueOf(uint32_t rgb) { return static_cast<uint8_t>(rgb >> 16); }

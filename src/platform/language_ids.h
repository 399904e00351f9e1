#pragma once
// Languages as the system numbers them: a language identifier holds the
// primary language in its low ten bits and the country or region above them.
// The program's placement rules are written in these numbers on every system.
#include <array>
#include <cstdint>

namespace platform::language_ids {

inline constexpr uint16_t kDefaultSubLanguage = 0x0400;
inline constexpr uint16_t kPrimaryArabic = 0x01;

inline constexpr uint16_t kEnglishUnitedStates = 0x0409;
inline constexpr uint16_t kHebrew = 0x040D;

inline constexpr uint16_t kArabicSaudiArabia = 0x0401;
inline constexpr uint16_t kArabicIraq = 0x0801;
inline constexpr uint16_t kArabicEgypt = 0x0C01;
inline constexpr uint16_t kArabicLibya = 0x1001;
inline constexpr uint16_t kArabicAlgeria = 0x1401;
inline constexpr uint16_t kArabicMorocco = 0x1801;
inline constexpr uint16_t kArabicTunisia = 0x1C01;
inline constexpr uint16_t kArabicOman = 0x2001;
inline constexpr uint16_t kArabicYemen = 0x2401;
inline constexpr uint16_t kArabicSyria = 0x2801;
inline constexpr uint16_t kArabicJordan = 0x2C01;
inline constexpr uint16_t kArabicLebanon = 0x3001;
inline constexpr uint16_t kArabicKuwait = 0x3401;
inline constexpr uint16_t kArabicUnitedArabEmirates = 0x3801;
inline constexpr uint16_t kArabicBahrain = 0x3C01;
inline constexpr uint16_t kArabicQatar = 0x4001;

// Arabic of every country that has an identifier of its own.
inline constexpr std::array<uint16_t, 16> kArabicOfCountries{
    kArabicSaudiArabia, kArabicIraq,
    kArabicEgypt,       kArabicLibya,
    kArabicAlgeria,     kArabicMorocco,
    kArabicTunisia,     kArabicOman,
    kArabicYemen,       kArabicSyria,
    kArabicJordan,      kArabicLebanon,
    kArabicKuwait,      kArabicUnitedArabEmirates,
    kArabicBahrain,     kArabicQatar};

}  // namespace platform::language_ids

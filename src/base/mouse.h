#pragma once
#include <cstdint>
#include <initializer_list>

enum TMouseButton : uint8_t { mbLeft = 0, mbRight = 1, mbMiddle = 2 };

enum TShiftStateItem : uint8_t {
  ssShift = 0,
  ssAlt = 1,
  ssCtrl = 2,
  ssLeft = 3,
  ssRight = 4,
  ssMiddle = 5,
  ssDouble = 6,
};

// A one-byte set of TShiftStateItem.
class TShiftState {
 public:
  constexpr TShiftState() = default;
  constexpr TShiftState(std::initializer_list<TShiftStateItem> items) {
    for (TShiftStateItem item : items) bits_ = static_cast<uint8_t>(bits_ | (1u << item));
  }
  static constexpr TShiftState FromBits(uint8_t bits) {
    TShiftState state;
    state.bits_ = bits;
    return state;
  }

  constexpr bool Contains(TShiftStateItem item) const { return (bits_ >> item) & 1u; }
  friend constexpr bool operator==(TShiftState, TShiftState) = default;

 private:
  uint8_t bits_ = 0;
};

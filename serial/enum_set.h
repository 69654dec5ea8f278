#pragma once
// A set over a small enumeration, one bit per value in ordinal order, as the port's sets
// of event kinds, line errors and modem signals are kept.

#include <cstdint>
#include <initializer_list>

namespace zorvan {

template <typename Enum>
class EnumSet {
 public:
  constexpr EnumSet() = default;
  constexpr EnumSet(std::initializer_list<Enum> members) {
    for (Enum member : members) Include(member);
  }
  // The set whose bit i stands for the enumeration's value of ordinal i.
  static constexpr EnumSet FromBits(uint8_t bits) {
    EnumSet set;
    set.bits_ = bits;
    return set;
  }

  constexpr uint8_t Bits() const { return bits_; }
  constexpr bool Contains(Enum member) const { return (bits_ & Bit(member)) != 0; }
  constexpr bool Empty() const { return bits_ == 0; }
  constexpr void Include(Enum member) { bits_ |= Bit(member); }
  friend constexpr bool operator==(EnumSet, EnumSet) = default;

 private:
  static constexpr uint8_t Bit(Enum member) { return static_cast<uint8_t>(1u << member); }

  uint8_t bits_ = 0;
};

}  // namespace zorvan

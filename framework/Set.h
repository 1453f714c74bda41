#pragma once
// A small set over the members of an enum class with at most 32 members, the way option sets
// are passed around the framework and the editor.

#include <cstdint>
#include <initializer_list>

namespace kl {

template <typename Enum>
class TSet {
 public:
  constexpr TSet() = default;
  constexpr TSet(std::initializer_list<Enum> members) {
    for (Enum m : members) bits_ |= bit(m);
  }
  constexpr bool contains(Enum m) const { return (bits_ & bit(m)) != 0; }
  constexpr TSet& include(Enum m) {
    bits_ |= bit(m);
    return *this;
  }
  constexpr TSet& exclude(Enum m) {
    bits_ &= ~bit(m);
    return *this;
  }
  constexpr bool empty() const { return bits_ == 0; }
  constexpr std::uint32_t bits() const { return bits_; }
  static constexpr TSet fromBits(std::uint32_t bits) {
    TSet s;
    s.bits_ = bits;
    return s;
  }
  friend constexpr bool operator==(TSet, TSet) = default;

 private:
  static constexpr std::uint32_t bit(Enum m) { return std::uint32_t(1) << unsigned(m); }
  std::uint32_t bits_ = 0;
};

}  // namespace kl

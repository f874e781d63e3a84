// Numeric helpers of the class library: rounding as the processor does it,
// truncation, and the small comparisons the code uses everywhere.
#pragma once

#include <cfenv>
#include <cmath>
#include <type_traits>

#include "classlib/core/System.h"

// Rounds to the nearest integer, halves to the even neighbour (the
// processor's default rounding): Round(2.5) = 2, Round(3.5) = 4.
inline Int64 Round(long double x) { return static_cast<Int64>(std::nearbyint(x)); }
// Rounds toward zero.
inline Int64 Trunc(long double x) { return static_cast<Int64>(x); }
inline long double Int(long double x) { return std::trunc(x); }
inline long double Frac(long double x) { return x - std::trunc(x); }
inline Int64 Ceil(long double x) { return static_cast<Int64>(std::ceil(x)); }
inline Int64 Floor(long double x) { return static_cast<Int64>(std::floor(x)); }
inline long double Power(long double base, long double exponent) { return std::pow(base, exponent); }
inline bool Odd(Int64 x) { return (x & 1) != 0; }

template <class T>
constexpr T Min(T a, T b) { return b < a ? b : a; }
template <class T>
constexpr T Max(T a, T b) { return a < b ? b : a; }
template <class A, class B, std::enable_if_t<!std::is_same_v<A, B>, int> = 0>
constexpr std::common_type_t<A, B> Min(A a, B b) {
  using C = std::common_type_t<A, B>;
  return Min<C>(static_cast<C>(a), static_cast<C>(b));
}
template <class A, class B, std::enable_if_t<!std::is_same_v<A, B>, int> = 0>
constexpr std::common_type_t<A, B> Max(A a, B b) {
  using C = std::common_type_t<A, B>;
  return Max<C>(static_cast<C>(a), static_cast<C>(b));
}
template <class T>
constexpr bool InRange(T value, T lo, T hi) { return !(value < lo) && !(hi < value); }
template <class T>
constexpr T EnsureRange(T value, T lo, T hi) { return value < lo ? lo : (hi < value ? hi : value); }
inline bool SameValue(long double a, long double b, long double epsilon = 0) {
  if (epsilon == 0) epsilon = Max(Min(std::fabs(a), std::fabs(b)) * 1e-12L, 1e-12L);
  return std::fabs(a - b) <= epsilon;
}
inline bool IsZero(long double a, long double epsilon = 0) { return std::fabs(a) <= (epsilon == 0 ? 1e-12L : epsilon); }

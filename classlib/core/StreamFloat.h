// The 10-byte extended float of the form format, converted to and from double
// without relying on the host's long double.
#pragma once

#include <cmath>
#include <cstdint>
#include <cstring>

namespace dk_float {

inline void DoubleToExtended(double d, unsigned char out[10]) {
  uint64_t bits;
  std::memcpy(&bits, &d, 8);
  uint16_t sign = (bits >> 63) ? 0x8000 : 0;
  int exp = static_cast<int>((bits >> 52) & 0x7FF);
  uint64_t frac = bits & ((uint64_t(1) << 52) - 1);
  uint64_t mant = 0;
  uint16_t e = 0;
  if (exp == 0x7FF) {  // infinity or NaN
    e = 0x7FFF;
    mant = (uint64_t(1) << 63) | (frac << 11);
  } else if (exp == 0 && frac == 0) {
    e = 0;
    mant = 0;
  } else {
    int unbiased;
    if (exp == 0) {  // subnormal double: normalise
      unbiased = -1022;
      while (!(frac & (uint64_t(1) << 52))) {
        frac <<= 1;
        --unbiased;
      }
      mant = frac << 11;
    } else {
      unbiased = exp - 1023;
      mant = (frac | (uint64_t(1) << 52)) << 11;
    }
    e = static_cast<uint16_t>(unbiased + 16383);
  }
  e |= sign;
  std::memcpy(out, &mant, 8);
  std::memcpy(out + 8, &e, 2);
}

inline double ExtendedToDouble(const unsigned char in[10]) {
  uint64_t mant;
  uint16_t se;
  std::memcpy(&mant, in, 8);
  std::memcpy(&se, in + 8, 2);
  bool neg = (se & 0x8000) != 0;
  int exp = se & 0x7FFF;
  double r;
  if (exp == 0x7FFF) {
    r = (mant << 1) ? std::nan("") : HUGE_VAL;
  } else if (mant == 0) {
    r = 0.0;
  } else {
    int e = (exp == 0 ? 1 : exp) - 16383 - 63;
    // Scale in two steps so that neither step overflows or underflows early.
    r = std::ldexp(static_cast<double>(mant), e / 2);
    r = std::ldexp(r, e - e / 2);
  }
  return neg ? -r : r;
}

}  // namespace dk_float

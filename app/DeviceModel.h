// What the monitor knows about its devices: the device types and their names,
// the probe table that identifies a model by the registers it answers, the
// registers a channel's data source reads, and the conversion of a reading
// into the value shown. Portable: no window or port code here.
#pragma once

#include <cstdint>
#include <string>

#include "classlib/core/System.h"

namespace devmodel {

constexpr int kDeviceTypeCount = 8;
constexpr int kOtherDevice = 7;    // the default type: no model name
constexpr int kXbv18 = 2;

// Model names used inside the program, types 0..6 ("" for type 7).
extern const char* const kModelNames[kDeviceTypeCount];
// Item texts of the device list (code page 1251), types 0..7.
AnsiString DeviceListText(int type);

// The probe table, in the order the probe tries it.
constexpr int kProbeCount = 8;
extern const char* const kProbeNames[kProbeCount];
extern const char* const kProbeRegisters[kProbeCount];  // hexadecimal, separated by ","

// "ХБВ" -> "XBV", "ГОЛМ" -> "GOLM", a dash right after either removed.
AnsiString NameToLatin(const AnsiString& name);
// 0..6 for the first model name the (Latin) text contains, 7 for none.
int DeviceTypeFromName(const AnsiString& name);
// "XBV5" -> "ХБВ-5", "GOLM144" -> "ГОЛМ-144".
AnsiString NameToCyrillic(const AnsiString& name);

// Registers of a probe entry's list, in order.
int ProbeRegisters(int entry, uint16_t out[4]);

// Registers a data source reads.
uint16_t SourceStartRegister(const AnsiString& source, int type);
// Register count in the low byte, offset in the high byte.
uint16_t SourceRegisterCount(const AnsiString& source, int type);
// 2 when the source pairs registers into 32-bit values, 1 otherwise.
int SourceIs32(const AnsiString& source);

// The value of a reading from its registers, before conversion: 32-bit sources
// join each pair (the first register the low word) into a signed value at the
// even index and 0 at the odd one; the sum is taken in 64 bits and truncated to
// its low 32 bits, so no reading loses bits on the way.
void StoreRawValues(const uint16_t words[8], int count, bool source32, int32_t raw[8]);
int32_t SumRawValues(const int32_t raw[8], int count);

// Two-point calibration: value1 + (x - adc1) * (value2 - value1) / (adc2 - adc1),
// 0 when both points have the same reading.
float TwoPointValue(float x, float adc1, float value1, float adc2, float value2);

struct Calibration {
  float adc1 = 0, value1 = 0, adc2 = 20000, value2 = 20000;
};

// The value shown for a reading: XBV18 sources (or type 2) as read, "ПТ"
// sources as the reading's 32 bits taken as an IEEE single; all others through
// the channel's calibration.
float ConvertReading(int32_t x, const AnsiString& source, int type, const Calibration& cal);

}  // namespace devmodel

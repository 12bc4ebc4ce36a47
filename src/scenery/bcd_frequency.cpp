#include "scenery/bcd_frequency.h"

namespace orv {

std::optional<std::string> Frequency_Text(int32_t value) {
  if (value < 0) return std::nullopt;

  // Each hexadecimal digit is one decimal digit; at most eight of them, so the number and its
  // division by 10000 are exact in integers.
  int64_t decimal = 0;
  int64_t place = 1;
  for (uint32_t bits = static_cast<uint32_t>(value); bits != 0; bits >>= 4) {
    const uint32_t digit = bits & 0xF;
    if (digit > 9) return std::nullopt;
    decimal += digit * place;
    place *= 10;
  }

  std::string text = std::to_string(decimal / 10000);
  int64_t fraction = decimal % 10000;
  if (fraction == 0) return text;
  int digits = 4;
  while (fraction % 10 == 0) {
    fraction /= 10;
    --digits;
  }
  std::string tail = std::to_string(fraction);
  text += '.';
  text.append(static_cast<size_t>(digits) - tail.size(), '0');
  text += tail;
  return text;
}

}  // namespace orv

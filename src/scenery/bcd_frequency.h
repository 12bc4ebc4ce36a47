// Radio frequencies as the scenery files store them: a Long whose hexadecimal digits, read as a
// decimal number, give the frequency in units of 100 Hz (0x01183500 is 118.35 MHz).
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace orv {

// The frequency in megahertz as decimal text in its shortest form: "118.35", "121",
// "118.375". A value that is not binary-coded decimal (a hexadecimal digit A to F, or a
// negative value) has no text.
std::optional<std::string> Frequency_Text(int32_t value);

}  // namespace orv

// The command line of orvane-tool as UTF-8 on every platform. On Windows the program's ANSI
// arguments have already lost every character outside the code page, so the arguments are taken
// from the system as UTF-16 instead; the subcommands turn an item into Windows-1252 and a path
// into the system's own encoding where they use them.
#pragma once

#include <string>
#include <vector>

namespace orv::tool {

// The arguments after the program's name, in UTF-8.
std::vector<std::string> Tool_Arguments(int argc, char** argv);

// Makes a Windows console show the tool's UTF-8 output as UTF-8; nothing elsewhere, where the
// terminal already does.
void Use_Utf8_Console();

}  // namespace orv::tool

#pragma once

#include <string>
#include <string_view>

namespace brindle {

// The program's name and version as the main window's title shows it, and as the exported files name
// the program that wrote them.
inline constexpr std::string_view ProgramName = "KORVA's Brindle 1.8 (DX Version)";
inline constexpr std::string_view ProgramWebAddress = "https://brindledx.example.org";

// The name padded with blanks to 75 characters, then the web address.
std::string mainWindowTitle();

// What the writers copy from the title: its first 60 characters without surrounding blanks, which is
// the name and version alone.
std::string programNameFromTitle(std::string_view title);

} // namespace brindle

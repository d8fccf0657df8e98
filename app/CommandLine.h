#pragma once
// The program's command line. It takes one word, "/debug" (any letter case), which turns on
// the demonstration mode; every other word is ignored. Qt-free.

#include <string>
#include <string_view>
#include <vector>

namespace lanterna {

// Splits a command-line text into tokens. Every byte pair 0x81 0x40 (a double-byte wide space)
// first becomes one space. A token is the text between double quotes (up to the closing quote
// or the end), or else the text up to the next space, 0x81 byte or '@'. Empty tokens are not
// listed.
std::vector<std::string> SplitCommandLine(std::string_view commandLine);

// The command line as one text, rebuilt from the program's arguments (without the program's
// own name): the arguments joined by single spaces, an argument that holds a delimiter of
// SplitCommandLine put between double quotes.
std::string JoinArguments(int argc, const char* const* argv);

// True when `token` is "/debug", ignoring the letter case.
bool IsDebugSwitch(std::string_view token);

// 1 when any token of the command line switches debug mode on, else 0.
int ReadDebugMode(std::string_view commandLine);

}  // namespace lanterna

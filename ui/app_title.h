#pragma once

#include <span>
#include <string>
#include <string_view>

namespace scrinst {

// The system's lower-casing of a run of single-byte characters, in place
// (CharLowerBuffA on Windows).
using LowerCaseBuffer = void (*)(std::span<char> text);

// The application title from the running module's file name (already in the
// ANSI code page): the file name after the last "\", cut at its first ".",
// every character after the first lower-cased. SETUP.EXE gives "Setup".
std::string ApplicationTitle(std::string_view moduleFileName, LowerCaseBuffer lowerCase);

}  // namespace scrinst

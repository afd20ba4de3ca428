#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace usbwiz {

// What one expectation reads from the INF through the setup API.
enum class ExpectationKind {
    String,      // SetupGetStringField of one field, %strkey% substituted
    Int,         // SetupGetIntField of one field
    Text,        // SetupGetLineText of a whole line
    FieldCount,  // SetupGetFieldCount of a line
    LineCount,   // SetupGetLineCount of a section (-1: no such section)
    Missing,     // the line must not exist (SetupFindFirstLine fails), e.g. a commented-out key
    InfClass,    // SetupDiGetINFClass: the class name and class GUID of the whole file
};

// A line of a section: the first line whose key matches (as SetupFindFirstLine matches it), or,
// with a key of "#N", the line at index N counted from 0 (SetupGetLineByIndex).
struct InfLineSelector {
    std::string key;
    int index = -1;

    bool ByIndex() const { return index >= 0; }
};

struct InfExpectation {
    ExpectationKind kind = ExpectationKind::String;
    std::string section;
    InfLineSelector line;
    int field = 0;  // 0 is the key, 1 the first value
    std::string expected;
    std::string guid;  // InfClass only
};

struct ParsedExpectation {
    std::optional<InfExpectation> expectation;  // empty for a comment, a blank line or an error
    std::string error;                          // why the line is not a valid expectation
};

// Parses one line of an expectation file. Fields are separated by '|'; the last one is the rest
// of the line, so an expected value may itself hold '|'. Lines that are empty or start with '#'
// hold no expectation.
//   string|SECTION|LINE|FIELD|EXPECTED      int|SECTION|LINE|FIELD|EXPECTED
//   text|SECTION|LINE|EXPECTED              fields|SECTION|LINE|COUNT
//   lines|SECTION|COUNT                     missing|SECTION|LINE
//   class|NAME|GUID
// In the expected texts of string and text checks, {windir} and {sysdir} stand for the Windows
// and the system directory, which the API puts in place of %10% and %11%.
ParsedExpectation ParseExpectationLine(std::string_view line);

// The check as the failure report names it, e.g. [Strings] key TARN field 1.
std::string DescribeExpectation(const InfExpectation& expectation);

}  // namespace usbwiz

#include "CheckInfExpectations.h"

#include <optional>

#include "SetupApiInf.h"

namespace usbwiz {

namespace {

std::string WindowsDirectory() {
    char path[MAX_PATH] = {};
    const UINT length = GetWindowsDirectoryA(path, MAX_PATH);
    return length > 0 && length < MAX_PATH ? path : "";
}

std::string SystemDirectory() {
    char path[MAX_PATH] = {};
    const UINT length = GetSystemDirectoryA(path, MAX_PATH);
    return length > 0 && length < MAX_PATH ? path : "";
}

void ReplaceAll(std::string& text, std::string_view from, const std::string& to) {
    for (auto at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
}

// The expected text as the API would give it on this machine: the directory placeholders
// become the directories that the API substitutes for %10% and %11%.
std::string ExpectedText(const InfExpectation& expectation) {
    if (expectation.kind == ExpectationKind::InfClass)
        return expectation.expected + "|" + expectation.guid;
    std::string text = expectation.expected;
    if (expectation.kind == ExpectationKind::String || expectation.kind == ExpectationKind::Text) {
        ReplaceAll(text, "{windir}", WindowsDirectory());
        ReplaceAll(text, "{sysdir}", SystemDirectory());
    }
    return text;
}

// What the API reads for one expectation, in the form the expectation states it; empty when
// there is nothing to read (no such section, line or field). For a Missing expectation, the
// text of the line that should not be there.
std::optional<std::string> ReadActual(const SetupApiInf& inf, const std::string& infPath,
                                      const InfExpectation& expectation) {
    switch (expectation.kind) {
        case ExpectationKind::LineCount:
            return std::to_string(inf.LineCount(expectation.section));
        case ExpectationKind::InfClass: {
            const auto infClass = ReadInfClass(infPath);
            if (!infClass) return {};
            return infClass->name + "|" + infClass->guid;
        }
        default:
            break;
    }

    auto line = inf.FindLine(expectation.section, expectation.line);
    if (!line) return {};
    switch (expectation.kind) {
        case ExpectationKind::String:
            return SetupApiInf::StringField(*line, expectation.field);
        case ExpectationKind::Int: {
            const auto value = SetupApiInf::IntField(*line, expectation.field);
            if (!value) return {};
            return std::to_string(*value);
        }
        case ExpectationKind::Text:
            return SetupApiInf::LineText(*line);
        case ExpectationKind::FieldCount:
            return std::to_string(SetupApiInf::FieldCount(*line));
        case ExpectationKind::Missing:
            return SetupApiInf::LineText(*line).value_or("");
        default:
            return {};
    }
}

std::string Quoted(const std::string& text) {
    std::string quoted(1, '"');
    quoted += text;
    quoted += '"';
    return quoted;
}

}  // namespace

int CountFailedExpectations(const std::string& infPath,
                            const std::vector<InfExpectation>& expectations, std::ostream& report) {
    const SetupApiInf inf(infPath);
    if (!inf.IsOpen()) {
        report << "FAIL " << infPath << ": " << inf.OpenFailure() << '\n';
        return static_cast<int>(expectations.size());
    }

    int failed = 0;
    for (const auto& expectation : expectations) {
        const auto actual = ReadActual(inf, infPath, expectation);
        const bool missingWanted = expectation.kind == ExpectationKind::Missing;
        const std::string expected = ExpectedText(expectation);
        if (missingWanted ? !actual.has_value() : actual == expected) continue;
        ++failed;
        report << "FAIL " << infPath << " " << DescribeExpectation(expectation) << ": expected "
               << (missingWanted ? "no such line" : Quoted(expected)) << ", found "
               << (actual ? Quoted(*actual) : "nothing") << '\n';
    }
    return failed;
}

}  // namespace usbwiz

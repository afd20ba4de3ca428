#include "InfExpectation.h"

#include <charconv>
#include <vector>

namespace usbwiz {

namespace {

struct KindSyntax {
    std::string_view name;
    ExpectationKind kind;
    int fieldCount;  // including the kind itself
};

constexpr KindSyntax kKinds[] = {
    {"string", ExpectationKind::String, 5},   {"int", ExpectationKind::Int, 5},
    {"text", ExpectationKind::Text, 4},       {"fields", ExpectationKind::FieldCount, 4},
    {"lines", ExpectationKind::LineCount, 3}, {"missing", ExpectationKind::Missing, 3},
    {"class", ExpectationKind::InfClass, 3},
};

// Splits into at most `count` pieces; the last piece keeps any further separators.
std::vector<std::string_view> SplitFields(std::string_view line, int count) {
    std::vector<std::string_view> pieces;
    while (static_cast<int>(pieces.size()) + 1 < count) {
        const auto bar = line.find('|');
        if (bar == std::string_view::npos) break;
        pieces.push_back(line.substr(0, bar));
        line.remove_prefix(bar + 1);
    }
    pieces.push_back(line);
    return pieces;
}

std::optional<int> ParseInteger(std::string_view text) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc{} || end != text.data() + text.size()) return {};
    return value;
}

// Counts and indexes are never negative; a line count of -1 stands for a missing section.
std::optional<int> ParseCount(std::string_view text, bool allowMinusOne) {
    const auto value = ParseInteger(text);
    if (!value || (*value < 0 && !(allowMinusOne && *value == -1))) return {};
    return value;
}

std::optional<InfLineSelector> ParseSelector(std::string_view text) {
    if (text.empty()) return {};
    InfLineSelector selector;
    if (text.front() == '#') {
        const auto index = ParseCount(text.substr(1), false);
        if (!index) return {};
        selector.index = *index;
    } else {
        selector.key = std::string(text);
    }
    return selector;
}

ParsedExpectation Refuse(std::string why) {
    return {std::nullopt, std::move(why)};
}

// Built by appending: mingw g++ 12 reports a false -Wrestrict for "..." + std::string.
std::string Quoted(std::string_view text) {
    std::string quoted(1, '"');
    quoted.append(text);
    quoted += '"';
    return quoted;
}

}  // namespace

ParsedExpectation ParseExpectationLine(std::string_view line) {
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.empty() || line.front() == '#') return {};

    const auto kindName = line.substr(0, line.find('|'));
    const KindSyntax* syntax = nullptr;
    for (const auto& candidate : kKinds)
        if (candidate.name == kindName) syntax = &candidate;
    if (syntax == nullptr) return Refuse(std::string("unknown check ").append(Quoted(kindName)));

    const auto pieces = SplitFields(line, syntax->fieldCount);
    if (static_cast<int>(pieces.size()) != syntax->fieldCount)
        return Refuse(Quoted(kindName) + " takes " + std::to_string(syntax->fieldCount - 1) +
                      " fields after it");

    InfExpectation expectation;
    expectation.kind = syntax->kind;
    if (syntax->kind == ExpectationKind::InfClass) {
        expectation.expected = std::string(pieces[1]);
        expectation.guid = std::string(pieces[2]);
        return {expectation, {}};
    }

    expectation.section = std::string(pieces[1]);
    if (expectation.section.empty()) return Refuse("the section name is empty");
    if (syntax->kind == ExpectationKind::LineCount) {
        if (!ParseCount(pieces[2], true)) return Refuse("the line count is not a number");
        expectation.expected = std::string(pieces[2]);
        return {expectation, {}};
    }

    const auto selector = ParseSelector(pieces[2]);
    if (!selector) return Refuse("the line is neither a key nor #INDEX");
    expectation.line = *selector;
    if (syntax->kind == ExpectationKind::Missing) return {expectation, {}};

    if (syntax->kind == ExpectationKind::String || syntax->kind == ExpectationKind::Int) {
        const auto field = ParseCount(pieces[3], false);
        if (!field) return Refuse("the field index is not a number");
        expectation.field = *field;
        expectation.expected = std::string(pieces[4]);
        if (syntax->kind == ExpectationKind::Int) {
            // Compared in the form the read number is printed in, so an expected 02 matches 2.
            const auto number = ParseInteger(pieces[4]);
            if (!number) return Refuse("the expected number is not a number");
            expectation.expected = std::to_string(*number);
        }
        return {expectation, {}};
    }

    expectation.expected = std::string(pieces[3]);
    if (syntax->kind == ExpectationKind::FieldCount && !ParseCount(pieces[3], false))
        return Refuse("the field count is not a number");
    return {expectation, {}};
}

std::string DescribeExpectation(const InfExpectation& expectation) {
    if (expectation.kind == ExpectationKind::InfClass) return "class of the file";
    std::string text = "[" + expectation.section + "]";
    if (expectation.kind == ExpectationKind::LineCount) return text + " line count";
    text += expectation.line.ByIndex() ? " line #" + std::to_string(expectation.line.index)
                                       : " key " + expectation.line.key;
    switch (expectation.kind) {
        case ExpectationKind::String:
        case ExpectationKind::Int:
            return text + " field " + std::to_string(expectation.field);
        case ExpectationKind::Text:
            return text + " text";
        case ExpectationKind::FieldCount:
            return text + " field count";
        default:
            return text;
    }
}

}  // namespace usbwiz

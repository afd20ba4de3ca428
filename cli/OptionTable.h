#pragma once

#include <span>
#include <string>
#include <string_view>

#include "cli/CommandLine.h"

namespace usbwiz {

// usbdrvgen's options in one table, which the parser, --help and the manual page all read: a
// row added here is an option the parser takes and both texts describe. Rows are headings that
// start a group, paragraphs and options, in the order --help shows them.
enum class OptionRowKind { Heading, Prose, Option };

// What an option does when it is given.
enum class OptionEffect {
    Field,   // its value goes to the text field `field`
    Flag,    // sets the flag `field` to `flagValue`
    Value,   // its value goes to `setValue`, which answers why it is refused, or ""
    Switch,  // `setSwitch` sets a switch of the run
    Action,  // the run does `action` instead of generating
    Verify,  // an option of `usbdrvgen verify`, which reads it itself
};

struct OptionRow {
    OptionRowKind kind;
    std::string_view name;   // Option: as typed ("--out"); Heading: the title (empty: none)
    std::string_view value;  // Option: what its value is called ("DIR"); empty: it takes none
    std::string_view text;   // what it does; Heading: a note; Prose: it; '\n' where --help breaks
    OptionEffect effect = OptionEffect::Switch;
    std::string_view field = {};  // Field and Flag: the record's field
    bool flagValue = false;       // Flag
    std::string (*setValue)(CommandLineOptions&, std::string) = nullptr;  // Value
    void (*setSwitch)(CommandLineOptions&) = nullptr;                     // Switch
    CliAction action = CliAction::Generate;                               // Action
};

// Every row, in --help's order.
std::span<const OptionRow> OptionTable();

// The generator's option row of that name ("--out"), or nullptr.
const OptionRow* FindOption(std::string_view name);

}  // namespace usbwiz

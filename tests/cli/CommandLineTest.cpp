#include <gtest/gtest.h>

#include <map>
#include <regex>
#include <set>

#include "cli/CommandLine.h"
#include "cli/OptionTable.h"
#include "cli/UsageText.h"
#include "cli/VerifyCommand.h"

namespace usbwiz {
namespace {

// The fields the text options set, by field name.
std::map<std::string, std::string> TextsByField(const CommandLineOptions& o) {
    std::map<std::string, std::string> texts;
    for (const TextOptionValue& t : o.texts) texts[std::string(t.option->field)] = t.value;
    return texts;
}

TEST(CommandLine, AcceptedForms) {
    struct Case {
        std::vector<std::string> args;
        CliAction action;
        std::optional<Package> kind;
        std::optional<std::string> out;
        std::map<std::string, std::string> texts;
    };
    const Case cases[] = {
        {{"--kind", "com", "--out", "/tmp/x"}, CliAction::Generate, Package::ComPort, "/tmp/x", {}},
        {{"--kind=ferrolink", "--out=/tmp/y"},
         CliAction::Generate,
         Package::Ferrolink,
         "/tmp/y",
         {}},
        {{"--vid", "4e2b", "--pid=C7A0"},
         CliAction::Generate,
         {},
         {},
         {{"Vid", "4e2b"}, {"Pid", "C7A0"}}},
        {{"--long-name=a=b c"}, CliAction::Generate, {}, {}, {{"LongName", "a=b c"}}},
        {{"--short-name", ""}, CliAction::Generate, {}, {}, {{"ShortName", ""}}},
        {{"--short-name="}, CliAction::Generate, {}, {}, {{"ShortName", ""}}},
        // A value that starts with -- goes with '='; one word may start with a single '-'.
        {{"--long-name=--list"}, CliAction::Generate, {}, {}, {{"LongName", "--list"}}},
        {{"--long-name", "-x"}, CliAction::Generate, {}, {}, {{"LongName", "-x"}}},
        {{"--uninstall-name", "a", "--uninstall-name", "b"},
         CliAction::Generate,
         {},
         {},
         {{"UninstallName", "b"}}},
        {{"--list", "--kind", "com"}, CliAction::List, Package::ComPort, {}, {}},
        {{"--summary"}, CliAction::Summary, {}, {}, {}},
        {{"--dump-settings", "--dump-settings"}, CliAction::DumpSettings, {}, {}, {}},
        {{"--list", "--help"}, CliAction::Help, {}, {}, {}},
        {{"--version", "--help"}, CliAction::Help, {}, {}, {}},
        {{"--version"}, CliAction::Version, {}, {}, {}},
        {{"--payloads", "--kind", "com"}, CliAction::Payloads, Package::ComPort, {}, {}},
    };
    for (const Case& c : cases) {
        const ParsedCommandLine parsed = ParseCommandLine(c.args);
        const std::string where = ::testing::PrintToString(c.args);
        ASSERT_EQ(parsed.error, "") << where;
        EXPECT_EQ(parsed.options.action, c.action) << where;
        EXPECT_EQ(parsed.options.kind, c.kind) << where;
        EXPECT_EQ(parsed.options.outDirectory, c.out) << where;
        EXPECT_EQ(TextsByField(parsed.options), c.texts) << where;
    }
}

TEST(CommandLine, FlagsCertificationQuietAndSettings) {
    const std::vector<std::string> args{"--no-preinstaller", "--leave-files", "--quiet",
                                        "--certification",   "default",       "--settings=run.txt"};
    const ParsedCommandLine parsed = ParseCommandLine(args);
    ASSERT_EQ(parsed.error, "");
    const CommandLineOptions& o = parsed.options;
    ASSERT_EQ(o.flags.size(), 2u);
    EXPECT_EQ(o.flags[0]->field, "UsePreinstaller");
    EXPECT_EQ(o.flags[0]->flagValue, false);
    EXPECT_EQ(o.flags[1]->field, "LeaveFiles");
    EXPECT_EQ(o.flags[1]->flagValue, true);
    EXPECT_TRUE(o.quiet);
    EXPECT_EQ(o.certification, Certification::Default);
    EXPECT_EQ(o.settingsFile, "run.txt");

    for (const auto& [word, answer] :
         {std::pair{"plan", Certification::Plan}, std::pair{"none", Certification::None}}) {
        const std::vector<std::string> one{std::string("--certification=") + word};
        EXPECT_EQ(ParseCommandLine(one).options.certification, answer) << word;
    }
}

TEST(CommandLine, Refusals) {
    struct Case {
        std::vector<std::string> args;
        const char* error;
    };
    const Case cases[] = {
        {{"--kind", "serial"}, "--kind: expected com or ferrolink, not 'serial'"},
        {{"--kind=COM"}, "--kind: expected com or ferrolink, not 'COM'"},
        {{"--certification", "yes"}, "--certification: expected plan, default or none, not 'yes'"},
        {{"--out"}, "--out: needs a value (one that starts with -- goes as --out=VALUE)"},
        {{"--kind", "com", "--vid"},
         "--vid: needs a value (one that starts with -- goes as --vid=VALUE)"},
        {{"--vid", "--pid", "1234"},
         "--vid: needs a value (one that starts with -- goes as --vid=VALUE)"},
        {{"--quiet-setup=1"}, "--quiet-setup: takes no value"},
        {{"--list=yes"}, "--list: takes no value"},
        {{"--colour"}, "unknown option '--colour'"},
        {{"--colour=red"}, "unknown option '--colour'"},
        {{"-q"}, "unknown option '-q'"},
        {{"--kind", "com", "extra"}, "unexpected argument 'extra' (--kind takes one value: 'com')"},
        {{"--quiet", "extra"}, "unexpected argument 'extra'"},
        {{"--list", "--summary"}, "--list and --summary cannot be combined"},
        {{"--dump-settings", "--list"}, "--dump-settings and --list cannot be combined"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ParseCommandLine(c.args).error, c.error) << ::testing::PrintToString(c.args);
}

// --help, the manual and the parser read one table: every option --help names is one the parser
// takes.
TEST(CommandLine, UsageNamesTheOptionsTheParserTakes) {
    const std::string usage = UsageText();
    std::set<std::string> named;
    const std::regex option("--[a-z0-9][a-z0-9-]*");
    for (auto it = std::sregex_iterator(usage.begin(), usage.end(), option);
         it != std::sregex_iterator(); ++it)
        named.insert(it->str());
    named.erase("--opt");  // the placeholder of "--opt VALUE"
    // verify's own, which its command reads.
    named.erase(std::string(kRootOption));
    named.erase(std::string(kJsonOption));
    for (const std::string& name : named)
        EXPECT_FALSE(ParseCommandLine(std::vector<std::string>{name, "x"})
                         .error.starts_with("unknown option"))
            << name;
    EXPECT_GT(named.size(), 30u);
}

}  // namespace
}  // namespace usbwiz

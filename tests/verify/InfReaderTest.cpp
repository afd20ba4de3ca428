// The INF reader against the syntax Windows' setup reads: one row per rule, each a small INF
// text and the fields of one of its entries.
#include <gtest/gtest.h>

#include "verify/InfReader.h"
#include "verify/WindowsNameCase.h"

namespace usbwiz {
namespace {

using namespace std::string_literals;

struct Row {
    const char* rule;
    std::string text;
    std::string section, key;
    std::vector<std::string> fields;
};

const Row kRows[] = {
    {"names without regard to case",
     "[VERSION]\ncatalogfile = a.cat\n",
     "Version",
     "CatalogFile",
     {"a.cat"}},
    {"non-ASCII letters too", "[A]\nÄpfel.sys = 1\n", "a", "äPFEL.SYS", {"1"}},
    {"a section given twice is one", "[A]\nx=1\n[B]\n[a]\ny=2\n", "A", "y", {"2"}},
    {"';' starts a comment outside quotes", "[A]\nx = \"a;b\" , c ; d\n", "A", "x", {"a;b", "c"}},
    {"\"\" inside quotes is one quote", "[A]\nx = \"say \"\"hi\"\"\"\n", "A", "x", {"say \"hi\""}},
    {"blanks kept in quotes, trimmed outside",
     "[A]\nx =  \" a \" ,  b  c  \n",
     "A",
     "x",
     {" a ", "b  c"}},
    {"empty fields",
     "[A]\n1=%D%,\"t.sys\",,\n[Strings]\nD=Disk\n",
     "A",
     "1",
     {"Disk", "t.sys", "", ""}},
    {"a final '\\' joins the next line", "[A]\nx = a, \\\n     b\n", "A", "x", {"a", "b"}},
    {"also before a comment", "[A]\nx = a, \\ ; note\n b\n", "A", "x", {"a", "b"}},
    {"but not inside quotes", "[A]\nx = \"c:\\\"\ny = 2\n", "A", "x", {"c:\\"}},
    {"%strkey% in keys and values, %% and unknown keys",
     "[A]\n%F% = %D% 100%% %none%\n[Strings]\nf = \"a.sys\"\nd=Disk\n",
     "A",
     "a.sys",
     {"Disk 100% %none%"}},
    {"a language's strings", "[A]\nx=%k%\n[Strings.0407]\nk=Treiber\n", "A", "x", {"Treiber"}},
    {"lines ended by CR alone", "[A]\rx=1\ry=2\r", "A", "y", {"2"}},
};

TEST(InfReader, ReadsAsWindowsSetupDoes) {
    for (const Row& row : kRows) {
        const InfFile inf = ReadInf(row.text);
        const std::vector<InfLine>& lines = inf.Section(row.section);
        const auto line = std::find_if(lines.begin(), lines.end(),
                                       [&](const InfLine& l) { return SameName(l.key, row.key); });
        if (line == lines.end()) {
            ADD_FAILURE() << row.rule << ": no entry " << row.key;
            continue;
        }
        EXPECT_EQ(line->fields, row.fields) << row.rule;
        EXPECT_EQ(inf.Value(row.section, row.key), row.fields.front()) << row.rule;
    }
}

TEST(InfReader, DecodesByByteOrderMark) {
    const std::pair<std::string, std::string> cases[] = {
        {"\xFF\xFE[\0A\0]\0\xE9\0"s, "[A]\xC3\xA9"},  // UTF-16LE
        {"\xFE\xFF\0[\0A\0]\0\xE9"s, "[A]\xC3\xA9"},  // UTF-16BE
        {"\xEF\xBB\xBF[A]\xC3\xA9", "[A]\xC3\xA9"},   // UTF-8
        {"[A]\xE9", "[A]\xC3\xA9"},                   // code page 1252
    };
    for (const auto& [bytes, utf8] : cases) EXPECT_EQ(InfTextAsUtf8(bytes, 1252), utf8);
}

}  // namespace
}  // namespace usbwiz

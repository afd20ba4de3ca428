#include <string>

#include "HostChecks.h"
#include "app/win32/LineBreaks.h"
#include "app/win32/ProgramTitle.h"

namespace usbwiz {

namespace {

struct TextCase {
    const char* input;
    const char* expected;
};

constexpr TextCase kCrLfCases[] = {
    {"", ""},
    {"one line", "one line"},
    {"a\nb", "a\r\nb"},
    {"a\r\nb", "a\r\nb"},  // already right: no second carriage return
    {"\n\n", "\r\n\r\n"},  // empty lines
    {"end\n", "end\r\n"},
    {"\r\n\n", "\r\n\r\n"},            // a pair followed by a lone feed
    {"lone\rreturn", "lone\rreturn"},  // carriage returns alone are left alone
};

constexpr TextCase kTitleCases[] = {
    {"C:\\Tools\\UsbDriverWizard.exe", "UsbDriverWizard"},
    {"Z:\\work\\build\\app\\win32\\UsbDriverWizard.exe", "UsbDriverWizard"},
    {"UsbDriverWizard.exe", "UsbDriverWizard"},
    {"C:\\dir.with.dots\\wizard", "wizard"},    // dots in a folder are no extension
    {"C:\\Tools\\my.wizard.exe", "my.wizard"},  // only the last extension goes
    {"C:wizard.exe", "wizard"},                 // drive-relative path
    {"Z:/tmp/wizard.exe", "wizard"},
    {"C:\\Tools\\.exe", ".exe"},  // nothing but an extension stays
    {"", ""},
};

}  // namespace

void CheckTextHelpers(CheckLog& log) {
    for (const TextCase& c : kCrLfCases)
        log.ExpectEqual(WithCrLf(c.input), std::string(c.expected),
                        std::string("WithCrLf of \"") + c.input + "\"");
    for (const TextCase& c : kTitleCases)
        log.ExpectEqual(TitleFromProgramPath(c.input), std::string(c.expected),
                        std::string("TitleFromProgramPath of \"") + c.input + "\"");
    log.ExpectEqual(ProgramTitle(), std::string("HostChecks"), "ProgramTitle of this program");
}

}  // namespace usbwiz

#pragma once

#include <cstddef>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace usbwiz {

// One entry of an INF section: "key = field, field, ..." or fields alone. Quotes are removed
// ("" inside quotes is one "), blanks around unquoted text dropped, and %strkey% tokens replaced
// by their [Strings] values.
struct InfLine {
    std::string key;  // empty when the line has no '='
    std::vector<std::string> fields;
    std::size_t lineNumber = 0;  // the line it starts on, from 1
};

// Any INF file as Windows' setup reads it: section names and keys without regard to case, a
// section given twice read as one, ';' starting a comment outside quotes, a '\' at the end of a
// line joining the next.
class InfFile {
  public:
    // The entries of section `name`, in file order; empty when there is no such section.
    const std::vector<InfLine>& Section(std::string_view name) const;
    bool HasSection(std::string_view name) const;

    // The first field of the first entry keyed `key` in `section`; nullopt when there is none.
    std::optional<std::string> Value(std::string_view section, std::string_view key) const;

  private:
    friend InfFile ReadInf(std::string_view text);
    std::map<std::string, std::vector<InfLine>> sections_;  // by upper-cased name
};

// The text of an INF file in UTF-8: UTF-16 (either byte order) and UTF-8 when a byte-order mark
// says so, anything else as ANSI text of `codePage` (the code page of the Windows that installs
// it); bytes the code page does not define are kept as they are.
std::string InfTextAsUtf8(std::string_view bytes, unsigned codePage);

// `text` is UTF-8, without a byte-order mark.
InfFile ReadInf(std::string_view text);

}  // namespace usbwiz

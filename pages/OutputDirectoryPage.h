#pragma once

#include <string>
#include <string_view>

#include "pages/Page.h"

namespace usbwiz {

inline constexpr std::string_view kCreateDirectoryQuestion =
    "Directory does not exist, do you want to create it?";
inline constexpr std::string_view kCreateDirectoryFailedMessage =
    "Error: Could Not Create Directory.";

// What the page says when the folder browser's choice has a name the ANSI code page
// `codePage` cannot write.
std::string FolderNotInCodePageMessage(unsigned codePage);

// Where the package is generated. Next makes sure the directory exists, creating it on request,
// and stores it with the trailing backslash that generation puts file names behind.
class OutputDirectoryPage : public Page {
  public:
    using Page::Page;
    PageId Id() const override { return PageId::OutputDirectory; }
    void OnInit(PageView& view) override;

  protected:
    void OnNext(PageView& view) override;
    void OnBack(PageView& view) override;
    void OnControl(PageView& view, int controlId) override;

  private:
    void Browse(PageView& view);
};

}  // namespace usbwiz

#pragma once

#include <string_view>

#include "pages/Page.h"

namespace usbwiz {

// Where a preinstaller switched off leaves the copy of the driver files, for both kinds.
inline constexpr std::string_view kResetTargetDirectory = kComPortTargetDirectory;

// The preinstaller and uninstaller options of both kinds.
class OptionsPage : public Page {
  public:
    using Page::Page;
    PageId Id() const override { return PageId::Options; }

    // Shows the options of the record. Without a preinstaller its options are hidden, as after
    // clearing "Generate a Preinstaller program".
    void OnInit(PageView& view) override;

  protected:
    void OnNext(PageView& view) override;
    void OnBack(PageView& view) override;
    void OnControl(PageView& view, int controlId) override;

  private:
    void PreinstallerToggled(PageView& view);
    void StoreOptions(PageView& view);
};

}  // namespace usbwiz

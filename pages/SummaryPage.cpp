#include "pages/SummaryPage.h"

#include "generate/GeneratePackage.h"
#include "pages/SummaryText.h"

namespace usbwiz {
namespace {

constexpr int kLabelColumn = 1039;
constexpr int kValueColumn = 1025;

}  // namespace

// Generation's messages belong to the summary page; its end is the end of the wizard.
class SummaryPage::GenerationAdapter : public GenerationPage {
  public:
    GenerationAdapter(SummaryPage& page, PageView& view) : page_(page), view_(view) {}

    void ShowPageMessage(std::string_view text, MessageIcon icon) override {
        view_.ShowMessage(text, icon, MessageButtons::Ok);
    }
    void EndPage() override { page_.EndWizard(view_); }

  private:
    SummaryPage& page_;
    PageView& view_;
};

void SummaryPage::OnInit(PageView& view) {
    // A kind without labels of its own keeps the template's text.
    if (settings_.PackageKind == Package::ComPort || settings_.PackageKind == Package::Ferrolink)
        view.SetText(kLabelColumn, SummaryLabelText(settings_.PackageKind));
    view.SetText(kValueColumn, BuildSummaryText(settings_));
}

void SummaryPage::OnCommand(PageView& view, int controlId) {
    switch (controlId) {
        case kNextButton:
            Finish(view);
            break;
        case kBackButton:
            HandOver(view, PageId::OutputDirectory);
            break;
        case kCancelButton:
            OnCancel(view);
            break;
        default:
            break;
    }
}

// The record goes to generation as it is: nothing is re-read or re-checked. A failure leaves
// the page open with whatever generation changed in the record (ShortName upper-cased), and
// Back carries that on.
void SummaryPage::Finish(PageView& view) {
    GenerationAdapter adapter(*this, view);
    GeneratePackage(settings_, services_.platform, services_.payloads, adapter);
}

}  // namespace usbwiz

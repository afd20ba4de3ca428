#pragma once

#include <memory>
#include <optional>
#include <string_view>

#include "pages/ControlIds.h"
#include "pages/PageId.h"
#include "pages/PageView.h"
#include "payload/PayloadStore.h"
#include "platform/Platform.h"
#include "settings/WizardSettings.h"

namespace usbwiz {

// What pages need from outside: the platform (files, folders, the folder browser), the
// carried payloads the summary page generates from, and the ANSI code page the typed texts are
// in (the names pages read double-byte characters whole).
struct PageServices {
    Platform& platform;
    const PayloadStore& payloads;
    unsigned codePage = 1252;
};

// A wizard page: portable behaviour over a PageView. Each page owns its copy of the record;
// a hand-over ends the page and names the next one, which the page chain creates afresh with a
// copy of this page's whole record.
class Page {
  public:
    Page(const WizardSettings& settings, PageServices& services)
        : settings_(settings), services_(services) {}
    virtual ~Page() = default;

    virtual PageId Id() const = 0;

    // The dialog's controls exist; fill them from the record.
    virtual void OnInit(PageView& view) = 0;

    // A push button, check box or radio button was clicked (an automatic check box has already
    // toggled). Enter arrives as the default button's id. Cancel, the page's Next (its default
    // button) and Back go to OnCancel, OnNext and OnBack; any other control to OnControl.
    virtual void OnCommand(PageView& view, int controlId);

    // Cancel, Esc or the close box: the wizard ends and nothing is written.
    virtual void OnCancel(PageView& view) { EndWizard(view); }

    const WizardSettings& Settings() const { return settings_; }

    // Set once the page has ended: the page to run next, or nullopt when the wizard ends.
    std::optional<PageId> Next() const { return next_; }

  protected:
    virtual void OnNext(PageView& /*view*/) {}
    virtual void OnBack(PageView& /*view*/) {}
    virtual void OnControl(PageView& /*view*/, int /*controlId*/) {}

    void HandOver(PageView& view, PageId next) {
        next_ = next;
        view.EndPage();
    }
    void EndWizard(PageView& view) {
        next_.reset();
        view.EndPage();
    }
    // Shows why the text of edit `controlId` was refused, then puts the focus on that edit with
    // its whole text selected, as the dialog's own focus moves do, so typing replaces it.
    void RefuseText(PageView& view, int controlId, std::string_view message) {
        view.ShowMessage(message, MessageIcon::None, MessageButtons::Ok);
        view.SetFocus(controlId);
    }

    WizardSettings settings_;
    PageServices& services_;

  private:
    std::optional<PageId> next_;
};

// A fresh page of the given kind holding a copy of `settings`.
std::unique_ptr<Page> CreatePage(PageId id, const WizardSettings& settings, PageServices& services);

}  // namespace usbwiz

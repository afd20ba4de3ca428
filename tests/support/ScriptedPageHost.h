#pragma once

#include <deque>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/PageChain.h"
#include "pages/PageLayout.h"
#include "pages/PageView.h"

namespace usbwiz::testing {

// One control of a page shown in memory.
struct ControlState {
    ControlLayout layout;
    std::string text;
    bool checked = false;
    bool visible = true;
    bool enabled = true;

    // The state a user sees; the layout is the same for every instance of a page.
    bool operator==(const ControlState& other) const {
        return layout.id == other.layout.id && text == other.text && checked == other.checked &&
               visible == other.visible && enabled == other.enabled;
    }
};

// A message box a page showed, and on which page.
struct ShownMessage {
    PageId page;
    std::string text;
    MessageIcon icon;
    MessageButtons buttons;

    bool operator==(const ShownMessage&) const = default;
};

// The stand-in for a page's window that a scripted page hands to the platform: one per page.
inline WindowRef ScriptedWindowOf(PageId page) {
    static int windows[kAllPages.size()];
    return &windows[static_cast<std::size_t>(page) % kAllPages.size()];
}

// A page's dialog in memory, built from its layout: edits keep their text, check boxes and
// radio buttons their state, every addressed control its visibility. Programs set texts as
// they are; typing goes through each edit's length limit and upper-casing, as in a real edit.
class ScriptedPageView : public PageView {
  public:
    ScriptedPageView(PageId page, std::deque<MessageAnswer>& answers,
                     std::vector<ShownMessage>& messages);

    std::string GetText(int controlId) override;
    void SetText(int controlId, std::string_view text) override;
    bool IsChecked(int controlId) override;
    void SetChecked(int controlId, bool checked) override;
    void SetVisible(int controlId, bool visible) override;
    bool IsVisible(int controlId) override;
    void SetEnabled(int controlId, bool enabled) override;
    void SetFocus(int controlId) override;
    MessageAnswer ShowMessage(std::string_view text, MessageIcon icon,
                              MessageButtons buttons) override;
    void EndPage() override { ended_ = true; }
    WindowRef Window() override { return ScriptedWindowOf(page_); }

    // What the user does. Each throws std::logic_error for an action no user could take (an
    // unknown, hidden, disabled or unsuitable control).
    void Type(int controlId, std::string_view text);
    void Clear(int controlId);
    // A click on a push button, check box or radio button, as the dialog reports it.
    void Click(Page& page, int controlId);
    void PressEnter(Page& page);

    bool Ended() const { return ended_; }
    std::optional<int> Focus() const { return focus_; }
    const std::map<int, ControlState>& Controls() const { return controls_; }

  private:
    ControlState& Control(int controlId);
    ControlState& VisibleControl(int controlId);  // visible and enabled: one a user can reach
    void SelectRadio(int controlId);

    PageId page_;
    std::deque<MessageAnswer>& answers_;
    std::vector<ShownMessage>& messages_;
    std::map<int, ControlState> controls_;
    std::vector<int> order_;  // addressed controls in template order, for radio groups
    std::optional<int> focus_;
    bool ended_ = false;
};

// One step of a user's script.
struct UserAction {
    enum class Kind { Type, Clear, Click, Enter, Escape, Close };
    Kind kind;
    int controlId = kNoControlId;
    std::string text = {};
};

inline UserAction Type(int controlId, std::string text) {
    return {UserAction::Kind::Type, controlId, std::move(text)};
}
inline UserAction Clear(int controlId) {
    return {UserAction::Kind::Clear, controlId, {}};
}
inline UserAction Click(int controlId) {
    return {UserAction::Kind::Click, controlId, {}};
}
inline UserAction PressEnter() {
    return {UserAction::Kind::Enter};
}
inline UserAction PressEscape() {
    return {UserAction::Kind::Escape};
}
inline UserAction CloseBox() {
    return {UserAction::Kind::Close};
}

// What one run of a page looked like.
struct PageVisit {
    PageId page;
    WizardSettings settingsAtOpen;  // the record the page was created with
    std::map<int, ControlState> controlsAtOpen = {};
    std::optional<int> focusAtOpen = {};
    WizardSettings settingsAtEnd = {};
    std::map<int, ControlState> controlsAtEnd = {};
    std::optional<int> focusAtEnd = {};
    std::optional<PageId> next = {};  // where the page handed over; nullopt: the wizard ended
    bool leftOpenByScript = false;    // the script ran out while the page was still open
};

// Runs the page chain from a script of user actions. Yes/No boxes are answered from a queue
// (No once it is empty), OK boxes with OK. When the script runs out the open page is closed
// like the close box, so the chain always ends.
class ScriptedPageRunner : public PageRunner {
  public:
    explicit ScriptedPageRunner(std::vector<UserAction> script,
                                std::deque<MessageAnswer> answers = {});

    void Run(Page& page) override;

    const std::vector<PageVisit>& Visits() const { return visits_; }
    const std::vector<ShownMessage>& Messages() const { return messages_; }
    std::vector<PageId> VisitedPages() const;
    const PageVisit& LastVisit() const { return visits_.back(); }
    // Actions the script still had when the wizard ended.
    std::size_t UnusedActions() const { return script_.size(); }

  private:
    std::deque<UserAction> script_;
    std::deque<MessageAnswer> answers_;
    std::vector<ShownMessage> messages_;
    std::vector<PageVisit> visits_;
};

}  // namespace usbwiz::testing

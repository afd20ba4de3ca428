#include "tests/support/ScriptedPageHost.h"

#include <cctype>
#include <stdexcept>

namespace usbwiz::testing {

namespace {

std::string Describe(int controlId) {
    return "control " + std::to_string(controlId);
}

bool IsClickable(ControlKind kind) {
    return kind == ControlKind::PushButton || kind == ControlKind::DefaultButton ||
           kind == ControlKind::CheckBox || kind == ControlKind::RadioButton;
}

}  // namespace

ScriptedPageView::ScriptedPageView(PageId page, std::deque<MessageAnswer>& answers,
                                   std::vector<ShownMessage>& messages)
    : page_(page), answers_(answers), messages_(messages) {
    for (const ControlLayout& layout : LayoutOf(page).controls) {
        if (layout.id == kNoControlId) continue;
        controls_[layout.id] =
            ControlState{layout, std::string(layout.text), false, !layout.hidden, true};
        order_.push_back(layout.id);
    }
}

ControlState& ScriptedPageView::Control(int controlId) {
    const auto found = controls_.find(controlId);
    if (found == controls_.end())
        throw std::logic_error(Describe(controlId) + " is not on page " +
                               std::to_string(static_cast<int>(page_)));
    return found->second;
}

ControlState& ScriptedPageView::VisibleControl(int controlId) {
    ControlState& control = Control(controlId);
    if (!control.visible) throw std::logic_error(Describe(controlId) + " is hidden");
    if (!control.enabled) throw std::logic_error(Describe(controlId) + " is disabled");
    return control;
}

std::string ScriptedPageView::GetText(int controlId) {
    return Control(controlId).text;
}

void ScriptedPageView::SetText(int controlId, std::string_view text) {
    Control(controlId).text = std::string(text);
}

bool ScriptedPageView::IsChecked(int controlId) {
    return Control(controlId).checked;
}

void ScriptedPageView::SetChecked(int controlId, bool checked) {
    Control(controlId).checked = checked;
}

void ScriptedPageView::SetVisible(int controlId, bool visible) {
    Control(controlId).visible = visible;
}

bool ScriptedPageView::IsVisible(int controlId) {
    return Control(controlId).visible;
}

void ScriptedPageView::SetEnabled(int controlId, bool enabled) {
    Control(controlId).enabled = enabled;
}

void ScriptedPageView::SetFocus(int controlId) {
    Control(controlId);
    focus_ = controlId;
}

MessageAnswer ScriptedPageView::ShowMessage(std::string_view text, MessageIcon icon,
                                            MessageButtons buttons) {
    messages_.push_back({page_, std::string(text), icon, buttons});
    if (buttons == MessageButtons::Ok) return MessageAnswer::Ok;
    if (answers_.empty()) return MessageAnswer::No;
    const MessageAnswer answer = answers_.front();
    answers_.pop_front();
    return answer;
}

void ScriptedPageView::Type(int controlId, std::string_view text) {
    ControlState& edit = VisibleControl(controlId);
    if (edit.layout.kind != ControlKind::Edit)
        throw std::logic_error(Describe(controlId) + " takes no typing");
    focus_ = controlId;
    for (char c : text) {
        // A full edit refuses the character, as the real box does.
        if (edit.layout.maxLength > 0 &&
            edit.text.size() >= static_cast<std::size_t>(edit.layout.maxLength))
            continue;
        edit.text += edit.layout.upperCase
                         ? static_cast<char>(std::toupper(static_cast<unsigned char>(c)))
                         : c;
    }
}

void ScriptedPageView::Clear(int controlId) {
    ControlState& edit = VisibleControl(controlId);
    if (edit.layout.kind != ControlKind::Edit)
        throw std::logic_error(Describe(controlId) + " cannot be cleared");
    focus_ = controlId;
    edit.text.clear();
}

// The radio buttons of a group follow each other in the template; a group ends before the next
// control that starts a group or is no radio button.
void ScriptedPageView::SelectRadio(int controlId) {
    const auto isRadio = [&](std::size_t i) {
        return controls_[order_[i]].layout.kind == ControlKind::RadioButton;
    };
    const auto startsGroup = [&](std::size_t i) { return controls_[order_[i]].layout.group; };
    std::size_t clicked = 0;
    while (order_[clicked] != controlId) ++clicked;
    std::size_t first = clicked;
    while (first > 0 && !startsGroup(first) && isRadio(first - 1)) --first;
    std::size_t last = clicked;
    while (last + 1 < order_.size() && isRadio(last + 1) && !startsGroup(last + 1)) ++last;
    for (std::size_t i = first; i <= last; ++i) controls_[order_[i]].checked = i == clicked;
}

void ScriptedPageView::Click(Page& page, int controlId) {
    ControlState& control = VisibleControl(controlId);
    if (!IsClickable(control.layout.kind))
        throw std::logic_error(Describe(controlId) + " cannot be clicked");
    focus_ = controlId;  // a mouse click focuses the button
    if (control.layout.kind == ControlKind::CheckBox) control.checked = !control.checked;
    if (control.layout.kind == ControlKind::RadioButton) SelectRadio(controlId);
    page.OnCommand(*this, controlId);
}

// The default button's command, with the focus left where it was.
void ScriptedPageView::PressEnter(Page& page) {
    for (const auto& [id, control] : controls_)
        if (control.layout.kind == ControlKind::DefaultButton) {
            VisibleControl(id);
            return page.OnCommand(*this, id);
        }
    throw std::logic_error("the page has no default button");
}

ScriptedPageRunner::ScriptedPageRunner(std::vector<UserAction> script,
                                       std::deque<MessageAnswer> answers)
    : script_(script.begin(), script.end()), answers_(std::move(answers)) {}

void ScriptedPageRunner::Run(Page& page) {
    ScriptedPageView view(page.Id(), answers_, messages_);
    PageVisit visit{.page = page.Id(), .settingsAtOpen = page.Settings()};
    page.OnInit(view);
    visit.controlsAtOpen = view.Controls();
    visit.focusAtOpen = view.Focus();

    while (!view.Ended()) {
        if (script_.empty()) {
            visit.leftOpenByScript = true;
            visit.settingsAtEnd = page.Settings();
            visit.controlsAtEnd = view.Controls();
            visit.focusAtEnd = view.Focus();
            page.OnCancel(view);
            break;
        }
        const UserAction action = script_.front();
        script_.pop_front();
        switch (action.kind) {
            case UserAction::Kind::Type:
                view.Type(action.controlId, action.text);
                break;
            case UserAction::Kind::Clear:
                view.Clear(action.controlId);
                break;
            case UserAction::Kind::Click:
                view.Click(page, action.controlId);
                break;
            case UserAction::Kind::Enter:
                view.PressEnter(page);
                break;
            case UserAction::Kind::Escape:
            case UserAction::Kind::Close:
                page.OnCancel(view);
                break;
        }
    }
    if (!visit.leftOpenByScript) {
        visit.settingsAtEnd = page.Settings();
        visit.controlsAtEnd = view.Controls();
        visit.focusAtEnd = view.Focus();
    }
    visit.next = page.Next();
    visits_.push_back(std::move(visit));
}

std::vector<PageId> ScriptedPageRunner::VisitedPages() const {
    std::vector<PageId> pages;
    for (const PageVisit& visit : visits_) pages.push_back(visit.page);
    return pages;
}

}  // namespace usbwiz::testing

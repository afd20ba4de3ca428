#include "pages/FieldPage.h"

#include "generate/GenerationPlan.h"
#include "pages/PageLayout.h"
#include "settings/InputRules.h"
#include "settings/NameRules.h"
#include "settings/SettingsFields.h"

namespace usbwiz {

std::vector<FieldBinding> FieldPage::Fields() const {
    std::vector<FieldBinding> fields;
    for (const ControlLayout& control : LayoutOf(Id()).controls)
        if (control.field != nullptr) fields.push_back({control.id, control.field});
    return fields;
}

void FieldPage::OnInit(PageView& view) {
    ShowFields(view);
    const std::vector<FieldBinding> fields = Fields();
    if (!fields.empty()) view.SetFocus(fields.front().controlId);
}

void FieldPage::OnNext(PageView& view) {
    ReadControls(view);
    ShowFields(view);
    std::optional<FailedCheck> failed = FirstFailedCheck();
    if (!failed) failed = FirstUnsafeField();
    if (failed) {
        RefuseText(view, failed->controlId, failed->message);
        return;
    }
    BeforeNext();
    HandOver(view, nextPage_);
}

void FieldPage::OnBack(PageView& view) {
    ReadControls(view);
    ShowFields(view);
    HandOver(view, backPage_);
}

std::optional<FailedCheck> FieldPage::FirstFailedCheck() const {
    for (const FieldBinding& binding : Fields())
        if (IsBlank(settings_.*binding.field))
            return FailedCheck{std::string(kFillInAllBlanksMessage), binding.controlId};
    return std::nullopt;
}

std::optional<FailedCheck> FieldPage::FirstUnsafeField() const {
    for (const FieldBinding& binding : Fields()) {
        const TextField* field = FindTextField(binding.field);
        const std::optional<std::string> why = FindUnsafeText(
            settings_.PackageKind, field->name, settings_.*binding.field, services_.codePage);
        if (why)
            return FailedCheck{std::string(LabelOf(Id(), binding.controlId)) + ": " + *why + ".",
                               binding.controlId};
    }
    if (const std::optional<NameClash> clash = FindNameClash(settings_))
        for (const FieldBinding& binding : Fields())
            if (FindTextField(binding.field)->name == clash->field)
                return FailedCheck{
                    std::string(LabelOf(Id(), binding.controlId)) + ": " + clash->Describe() + ".",
                    binding.controlId};
    return std::nullopt;
}

void FieldPage::ReadControls(PageView& view) {
    for (const FieldBinding& binding : Fields())
        settings_.*binding.field = view.GetText(binding.controlId);
}

void FieldPage::ShowFields(PageView& view) const {
    for (const FieldBinding& binding : Fields())
        view.SetText(binding.controlId, settings_.*binding.field);
}

}  // namespace usbwiz

#pragma once
// What the three pages of the engine's playback configuration share: the
// capability model, its refresh on every page, and its store on Apply.
#include <windows.h>

#include <span>

#include "device_capabilities.h"
#include "property_page.h"

namespace quavera {

// The model takes the engine's stored configuration.
void LoadFromEngine(DeviceCapabilities& model);

// A radio button of a model choice: its control id and the choice it shows.
struct ChoiceButton {
    int id;
    Choice choice;
};

class EnginePage : public PropertyPage {
public:
    EnginePage(int templateId, DeviceCapabilities& model, HWND player)
        : PropertyPage(templateId), model_(model), player_(player) {}

protected:
    DeviceCapabilities& model() { return model_; }
    const DeviceCapabilities& model() const { return model_; }
    // Shows the model's values and what it allows.
    virtual void Refresh() = 0;
    // The end of the page's own set-up: shown as the model stands, unchanged.
    void FinishInit();
    // The end of every user action, refused ones included: every page shows
    // the model again.
    void EndAction(bool changed);
    // A choice's button: checked when it is the model's value, pushed when
    // the model does not allow it.
    void ShowChoice(const ChoiceButton& button) const;
    // A click on one of the buttons: true when it was one.
    bool ChooseByButton(int id, std::span<const ChoiceButton> buttons);

    void OnApply() override;
    void OnReset() override;

private:
    void OnSiblingRefresh() override;

    DeviceCapabilities& model_;
    HWND player_;
    bool initialised_ = false;
    bool changed_ = false;
};

} // namespace quavera

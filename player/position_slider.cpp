#include "position_slider.h"

#include <commctrl.h>

#include <string>

#include "dialog.h"
#include "display_text.h"
#include "resource.h"
#include "slider_scale.h"

namespace quavera {
namespace {

// Tick labels go under the 2nd, 4th and 6th tick.
constexpr unsigned kLabelledTicks[] = {2, 4, 6};

} // namespace

void PositionSlider::Attach(HWND dialog) {
    dialog_ = dialog;
    slider_ = GetDlgItem(dialog, IDC_POSITION);
    startLabel_ = GetDlgItem(dialog, IDC_START_LABEL);
    lengthLabel_ = GetDlgItem(dialog, IDC_LENGTH_LABEL);
    SendMessageA(slider_, TBM_SETRANGE, TRUE, MAKELPARAM(0, 0));
}

unsigned PositionSlider::position() const {
    return static_cast<unsigned>(SendMessageA(slider_, TBM_GETPOS, 0, 0));
}

unsigned PositionSlider::maximum() const {
    return static_cast<unsigned>(SendMessageA(slider_, TBM_GETRANGEMAX, 0, 0));
}

void PositionSlider::SetPosition(unsigned units) { SendMessageA(slider_, TBM_SETPOS, TRUE, units); }

void PositionSlider::Prepare(unsigned lengthMs) {
    tickInterval_ = TickIntervalMs(lengthMs) / kSliderUnitMs;
    SendMessageA(slider_, TBM_SETTICFREQ, tickInterval_, 0);
    SendMessageA(slider_, TBM_SETRANGEMIN, FALSE, 0);
    SendMessageA(slider_, TBM_SETRANGEMAX, TRUE, lengthMs / kSliderUnitMs);
    SendMessageA(slider_, TBM_SETPOS, TRUE, 0);
    lengthMs_ = lengthMs;
    PlaceLabels();
}

void PositionSlider::PlaceLabels() {
    SetEndLabel(lengthLabel_, lengthMs_, true);
    SetEndLabel(startLabel_, 0, false);
    MakeTickLabels();
}

int PositionSlider::TextWidth(HWND label, const char* text) const {
    // Measured as the label draws it, in its own font, with room for the
    // rounding of the glyph widths: a label even one pixel short wraps its
    // single word and shows it cut.
    constexpr int kAllowance = 2;
    RECT rect{};
    DrawTextA(WindowFontDC(label).get(), text, -1, &rect, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
    return rect.right - rect.left + kAllowance;
}

void PositionSlider::SetEndLabel(HWND label, unsigned ms, bool keepRightEdge) {
    const std::string text = FormatSliderTime(ms);
    SetWindowTextA(label, text.c_str());
    const RECT rect = ChildRect(label);
    const int width = TextWidth(label, text.c_str());
    const int left = keepRightEdge ? rect.right - width : rect.left;
    SetWindowPos(label, nullptr, left, rect.top, width, rect.bottom - rect.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

void PositionSlider::MakeTickLabels() {
    tickLabels_.clear();
    if (tickInterval_ == 0) return;
    const RECT startRect = ChildRect(startLabel_);
    const RECT lengthRect = ChildRect(lengthLabel_);
    const Span startSpan{startRect.left, startRect.right};
    const Span lengthSpan{lengthRect.left, lengthRect.right};
    const RECT sliderRect = ChildRect(slider_);
    const auto font = SendMessageA(dialog_, WM_GETFONT, 0, 0);
    const auto ticks = static_cast<int>(SendMessageA(slider_, TBM_GETNUMTICS, 0, 0));
    std::vector<Span> placed;
    for (const unsigned k : kLabelledTicks) {
        const unsigned value = k * tickInterval_;
        // The slider numbers its inner ticks from 0; find the one at this value.
        int x = -1;
        for (int i = 0; i + 2 < ticks && x < 0; ++i)
            if (static_cast<unsigned>(SendMessageA(slider_, TBM_GETTIC, i, 0)) == value)
                x = static_cast<int>(SendMessageA(slider_, TBM_GETTICPOS, i, 0));
        if (x < 0) continue;
        x += sliderRect.left;
        const std::string text = FormatSliderTime(value * kSliderUnitMs);
        const int width = TextWidth(startLabel_, text.c_str());
        const Span span{x - width / 2, x - width / 2 + width};
        if (!TickLabelFits(span, startSpan, lengthSpan, placed)) continue;
        placed.push_back(span);
        HWND label = CreateWindowExA(0, "STATIC", text.c_str(), WS_CHILD | WS_VISIBLE | SS_CENTER | SS_NOPREFIX,
                                     span.left, startRect.top, width, startRect.bottom - startRect.top, dialog_,
                                     nullptr, reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(dialog_, GWLP_HINSTANCE)),
                                     nullptr);
        SendMessageA(label, WM_SETFONT, static_cast<WPARAM>(font), FALSE);
        tickLabels_.emplace_back(label);
    }
}

} // namespace quavera

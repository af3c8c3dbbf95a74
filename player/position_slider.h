#pragma once
// The position slider (one unit = 500 ms) with its end labels and the three
// time labels under its ticks.
#include <windows.h>

#include <vector>

#include "win_handles.h"

namespace quavera {

class PositionSlider {
public:
    void Attach(HWND dialog);
    // Scale, ticks and labels for a track of the given length; position 0.
    void Prepare(unsigned lengthMs);
    // The end labels sized to their texts and the tick labels made again,
    // where the slider now lies.
    void PlaceLabels();
    unsigned position() const;
    unsigned maximum() const;
    void SetPosition(unsigned units);
    // Slider units between ticks; 0 when the slider has none.
    unsigned tickInterval() const { return tickInterval_; }
    void DestroyTickLabels() { tickLabels_.clear(); }

private:
    void SetEndLabel(HWND label, unsigned ms, bool keepRightEdge);
    void MakeTickLabels();
    // Width a label needs for the text, in the label's font.
    int TextWidth(HWND label, const char* text) const;

    HWND dialog_ = nullptr;
    HWND slider_ = nullptr;
    HWND startLabel_ = nullptr;
    HWND lengthLabel_ = nullptr;
    unsigned tickInterval_ = 0;
    unsigned lengthMs_ = 0;
    std::vector<ChildWindow> tickLabels_;
};

} // namespace quavera

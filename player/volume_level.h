#pragma once
// Wave-out volume levels (0-65535) and what the volume controls show of them.
#include <algorithm>

namespace quavera {

constexpr unsigned kMaxVolume = 65535;
constexpr unsigned kVolumeSliderMax = 8191;
constexpr unsigned kVolumePictures = 5;

constexpr unsigned VolumeFromSlider(unsigned position) { return position * 8; }
constexpr unsigned SliderFromVolume(unsigned level) { return level / 8; }
constexpr unsigned VolumePicture(unsigned level) { return std::min(level / 13108, kVolumePictures - 1); }

// The level without a track's volume preset (per cent), and with one.
constexpr unsigned BaseVolume(unsigned level, unsigned preset) {
    return preset == 0 ? level : std::min(level * 100 / preset, kMaxVolume);
}
constexpr unsigned PresetVolume(unsigned base, unsigned preset) { return preset * base / 100; }

} // namespace quavera

#include "dropped_files.h"

namespace quavera {

std::vector<std::string> TakeDroppedFiles(HDROP drop) {
    std::vector<std::string> files;
    const UINT count = DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
        std::string name(DragQueryFileA(drop, i, nullptr, 0), '\0');
        DragQueryFileA(drop, i, name.data(), static_cast<UINT>(name.size() + 1));
        if (!name.empty()) files.push_back(std::move(name));
    }
    DragFinish(drop);
    return files;
}

} // namespace quavera

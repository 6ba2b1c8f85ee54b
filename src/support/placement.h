// The main window's placement record: 16 bytes, four signed 32-bit
// little-endian integers (left, top, width, height), kept per installation
// folder in a per-user store. The arithmetic lives here; the store itself is
// the window's business.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tov {

struct WindowRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    bool operator==(const WindowRect&) const = default;
};

std::string encodePlacement(const WindowRect& r);
// Nothing unless the record is exactly 16 bytes.
std::optional<WindowRect> decodePlacement(std::string_view bytes);

// Key of the record: "Software/Orbika/Tovra/" + the program folder with every
// byte that is not an ASCII letter or digit replaced by "_" + "/p".
// Empty when the folder is longer than 255 bytes (the record is then not used).
std::string placementKey(const std::string& programFolder);

// Where the window goes. `stored` is the decoded record (nothing when
// missing or malformed), `current` the window's design placement, `desktop`
// the whole virtual desktop. A missing record, or one whose four numbers add
// up to 0, keeps the current placement. The placement is off the desktop
// when its top is above the desktop, its top is less than 25 pixels above
// the desktop's bottom, its left is less than 25 pixels left of the
// desktop's right edge, or its left is left of the desktop; it is then
// centred (with its stored size, divisions truncating) and takes the current
// width and height. The desktop's top edge counts like its left edge, so a
// monitor above the primary one is part of the desktop.
WindowRect restorePlacement(const std::optional<WindowRect>& stored, const WindowRect& current,
                            const WindowRect& desktop);

}  // namespace tov

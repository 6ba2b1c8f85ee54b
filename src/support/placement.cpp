#include "support/placement.h"

#include <algorithm>
#include <climits>
#include <cstdint>

namespace tov {

namespace {

void putInt32(std::string& out, int v)
{
    const auto u = static_cast<std::uint32_t>(v);
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>((u >> (8 * i)) & 0xFF));
}

int getInt32(std::string_view in, size_t at)
{
    std::uint32_t u = 0;
    for (int i = 0; i < 4; ++i) u |= static_cast<std::uint32_t>(static_cast<unsigned char>(in[at + i])) << (8 * i);
    return static_cast<int>(u);
}

int clampInt(long long v)
{
    return static_cast<int>(std::clamp<long long>(v, INT_MIN, INT_MAX));
}

bool isAsciiAlnum(unsigned char c)
{
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

}  // namespace

std::string encodePlacement(const WindowRect& r)
{
    std::string out;
    out.reserve(16);
    putInt32(out, r.left);
    putInt32(out, r.top);
    putInt32(out, r.width);
    putInt32(out, r.height);
    return out;
}

std::optional<WindowRect> decodePlacement(std::string_view bytes)
{
    if (bytes.size() != 16) return std::nullopt;
    return WindowRect {getInt32(bytes, 0), getInt32(bytes, 4), getInt32(bytes, 8), getInt32(bytes, 12)};
}

std::string placementKey(const std::string& programFolder)
{
    if (programFolder.size() > 255) return {};
    std::string key = "Software/Orbika/Tovra/";
    for (char c : programFolder) key.push_back(isAsciiAlnum(static_cast<unsigned char>(c)) ? c : '_');
    key += "/p";
    return key;
}

WindowRect restorePlacement(const std::optional<WindowRect>& stored, const WindowRect& current,
                            const WindowRect& desktop)
{
    // 64-bit arithmetic throughout: a damaged record must not overflow.
    WindowRect r = current;
    if (stored) {
        const long long sum = static_cast<long long>(stored->left) + stored->top + stored->width + stored->height;
        if (sum != 0) r = *stored;
    }
    const long long left = r.left, top = r.top, width = r.width, height = r.height;
    const long long dLeft = desktop.left, dTop = desktop.top, dWidth = desktop.width, dHeight = desktop.height;

    const bool offScreen = top < dTop || dTop + dHeight < top + 25 || dLeft + dWidth < left + 25 || left < dLeft;
    if (!offScreen) return r;

    // Centred for the stored size; the window then keeps its current size.
    WindowRect out;
    out.top = clampInt(dTop + (height < dHeight ? (dHeight - height) / 2 : 0));
    out.left = clampInt(dLeft + (width < dWidth ? (dWidth - width) / 2 : 0));
    out.width = current.width;
    out.height = current.height;
    return out;
}

}  // namespace tov

#include "transitions/region_styles.h"

#include "transitions/regions/families.h"
#include "transitions/regions/region_effect.h"
#include "transitions/style_info.h"

#include <array>
#include <utility>

namespace kalmo::transitions {

namespace {

constexpr int LastStyle = kStyleCount;

// One procedure per style number, since an effect procedure is not told its style.
template <int Style> void regionStyleEffect(EffectFrame &frame) {
    regions::drawThroughRegion(frame, Style, regions::regionBuilder(Style));
}

template <std::size_t... I> constexpr auto makeTable(std::index_sequence<I...>) {
    return std::array<EffectProc, sizeof...(I)>{
        (isStyleOf(int(I), StyleFamily::Region) ? &regionStyleEffect<int(I)> : nullptr)...};
}

constexpr auto effects = makeTable(std::make_index_sequence<LastStyle + 1>{});

} // namespace

EffectProc regionEffect(int style) {
    if (style < 0 || style > LastStyle)
        return nullptr;
    return effects[std::size_t(style)];
}

} // namespace kalmo::transitions

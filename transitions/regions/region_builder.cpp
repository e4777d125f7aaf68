#include "transitions/regions/families.h"

namespace kalmo::transitions::regions {

RegionBuilder regionBuilder(int style) {
    for (auto family : {roundedStyle, barStyle, shredStyle, speckleStyle, polygonStyle, gridStyle,
                        blindStyle, fanStyle}) {
        if (RegionBuilder b = family(style))
            return b;
    }
    return nullptr;
}

} // namespace kalmo::transitions::regions

// The layout arithmetic with screens and windows of any size, tiny and huge: every number it gives a
// window must be finite.
#include "FuzzSupport.h"

#include "ui/Scaling.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cmath>
#include <cstddef>
#include <cstdint>

namespace {

double length(FuzzedDataProvider& input)
{
    return input.ConsumeFloatingPointInRange(0.0, 1e7);
}

void requireFinite(const brindle::Area& area)
{
    brindle::fuzz::require(std::isfinite(area.left) && std::isfinite(area.top) && std::isfinite(area.width)
        && std::isfinite(area.height));
}

void requireFinite(const brindle::LayoutFactors& f)
{
    requireFinite(f.window);
    brindle::fuzz::require(std::isfinite(f.horizontal) && std::isfinite(f.vertical) && std::isfinite(f.windowFont)
        && std::isfinite(f.controlFont) && std::isfinite(f.columns));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzedDataProvider input(data, size);
    // Screens have some size; windows may be empty.
    const brindle::Extent screen { 1 + length(input), 1 + length(input) };
    const brindle::Extent design { length(input), length(input) };
    const brindle::Area workArea { length(input), length(input), 1 + length(input), 1 + length(input) };
    const brindle::FrameMargins frame { length(input) / 100, length(input) / 100, length(input) / 100,
        length(input) / 100 };
    requireFinite(brindle::scaleMainWindow(screen));
    if (design.width > 0 && design.height > 0) {
        const brindle::LayoutFactors dialog = brindle::scaleDialog(design, screen);
        requireFinite(dialog);
        requireFinite(brindle::keepInsideWorkArea(dialog, frame, workArea));
        requireFinite(brindle::scaleByScreen(design, screen, input.ConsumeBool()));
        requireFinite(brindle::scaleByWorkArea(design, screen, workArea));
    }
    requireFinite(brindle::formSizeLayout(input.ConsumeIntegralInRange(30, 100), screen).window);
    (void)brindle::formSizeFromAnswer(input.ConsumeRemainingBytesAsString());
    return 0;
}

// The weather document parser: any body gives a full list or nothing.
#include "fuzz_support.h"

#include "weather/forecast_parser.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const auto forecasts = kalmo::weather::parseForecastDocument(
        QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)));
    if (forecasts)
        FUZZ_CHECK(forecasts->size() <= kalmo::weather::kMaxForecasts);
    return 0;
}

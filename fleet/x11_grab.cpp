#include "fleet/x11_grab.h"

#include "core/log.h"

#include <QGuiApplication>
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <xcb/xcb.h>

namespace kalmo::fleet {

namespace {
constexpr int kX11BandRows = 60;
} // namespace

bool x11Available() {
    return QGuiApplication::platformName() == QLatin1String("xcb");
}

QImage x11Grab(const QRect &area) {
    int screenNumber = 0;
    std::unique_ptr<xcb_connection_t, decltype(&xcb_disconnect)> connection(
        xcb_connect(nullptr, &screenNumber), &xcb_disconnect);
    if (!connection || xcb_connection_has_error(connection.get())) {
        qCWarning(lcFleet) << "screenshot: cannot connect to the X server";
        return {};
    }
    xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(connection.get()));
    for (int i = 0; i < screenNumber && it.rem; ++i)
        xcb_screen_next(&it);
    if (!it.rem)
        return {};
    const xcb_screen_t *screen = it.data;
    const QRect whole(0, 0, screen->width_in_pixels, screen->height_in_pixels);
    const QRect part = area.intersected(whole);
    if (part.isEmpty())
        return {};
    QImage image(part.size(), QImage::Format_RGB32);
    // A band of rows per request, one request at a time: the X server serves the kiosk's own
    // painting between them instead of copying the whole screen in one go.
    for (int top = 0; top < part.height(); top += kX11BandRows) {
        const int rows = std::min(kX11BandRows, part.height() - top);
        xcb_get_image_cookie_t cookie =
            xcb_get_image(connection.get(), XCB_IMAGE_FORMAT_Z_PIXMAP, screen->root,
                          static_cast<int16_t>(part.x()), static_cast<int16_t>(part.y() + top),
                          static_cast<uint16_t>(part.width()), static_cast<uint16_t>(rows), ~0u);
        std::unique_ptr<xcb_get_image_reply_t, decltype(&std::free)> reply(
            xcb_get_image_reply(connection.get(), cookie, nullptr), &std::free);
        if (!reply) {
            qCWarning(lcFleet) << "screenshot: the X server refused the picture";
            return {};
        }
        // Depth 24 in 32-bit pixels (B, G, R, X), the layout of every X server a kiosk runs.
        if (reply->depth != 24 && reply->depth != 32) {
            qCWarning(lcFleet) << "screenshot: unsupported screen depth" << reply->depth;
            return {};
        }
        const qsizetype rowBytes = qsizetype(part.width()) * 4;
        if (xcb_get_image_data_length(reply.get()) < rowBytes * rows)
            return {};
        const uint8_t *data = xcb_get_image_data(reply.get());
        for (int y = 0; y < rows; ++y)
            std::memcpy(image.scanLine(top + y), data + y * rowBytes,
                        static_cast<size_t>(rowBytes));
    }
    return image;
}

} // namespace kalmo::fleet

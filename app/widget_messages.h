#pragma once

#include "core/messages.h"

namespace kalmo::app {

// Message boxes on screen. Non-blocking, so the kiosk's timers and screens keep running
// behind an unanswered box.
class WidgetMessages : public core::Messages {
public:
    void show(const QString &text, const QString &title = QString()) override;
};

} // namespace kalmo::app

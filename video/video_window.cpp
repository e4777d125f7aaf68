#include "video/video_window.h"

namespace kalmo::video {

TForm6::TForm6(core::ProgramValues &values, QWidget *parent) : QDialog(parent), m_values(values) {
    setObjectName(QStringLiteral("Form6"));
    setWindowTitle(QStringLiteral("Video"));
    setWindowModality(Qt::ApplicationModal);
}

} // namespace kalmo::video

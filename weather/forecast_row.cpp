#include "weather/forecast_row.h"

#include "core/log.h"
#include "weather/forecast_texts.h"
#include "weather/row_geometry.h"

#include <QFrame>
#include <QImageReader>
#include <QLabel>
#include <QPixmap>
#include <memory>

namespace kalmo::weather {

namespace {

const QString kFontFamily = QStringLiteral("Times New Roman");

// A self-sizing static text at (left, top); returns it for stacking the next one.
QLabel *addText(QWidget *parent, const QString &name, const QString &text, int pointSize, int left,
                int top) {
    auto *label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setFont(QFont(kFontFamily, pointSize));
    label->adjustSize();
    label->move(left, top);
    return label;
}

int bottomOf(const QWidget *w) {
    return w->y() + w->height();
}

QPixmap loadPicture(const QString &path) {
    QImageReader reader(path, "png");
    reader.setAllocationLimit(16); // MiB; our pictures are a few kilobytes
    const QImage image = reader.read();
    return image.isNull() ? QPixmap() : QPixmap::fromImage(image);
}

} // namespace

QFrame *buildForecastRow(QWidget *panel, int index, const Forecast &forecast, const QDate &today,
                         const PictureLookup &pictures) {
    const QString n = QString::number(index);
    const RowTexts texts = rowTexts(forecast, today);

    // Built unparented so that a failed row never shows up in the panel.
    auto row = std::make_unique<QFrame>();
    row->setObjectName(QStringLiteral("Mypanel") + n);
    row->setFrameShape(QFrame::StyledPanel);
    row->setGeometry(rowRect(index, panel->size()));

    auto *date = addText(row.get(), QStringLiteral("Labeldate") + n, texts.date, 20, 10, 5);
    auto *tod =
        addText(row.get(), QStringLiteral("Labeltod") + n, texts.period, 11, 10, bottomOf(date));
    auto *temperature = addText(row.get(), QStringLiteral("Labeltemperature") + n,
                                texts.temperature, 25, 10, bottomOf(tod));
    auto *heat = addText(row.get(), QStringLiteral("Labelheat") + n, texts.heat, 11, 10,
                         bottomOf(temperature));
    auto *wind =
        addText(row.get(), QStringLiteral("Labelwind") + n, texts.wind, 11, 10, bottomOf(heat));
    auto *humidity = addText(row.get(), QStringLiteral("labelrelwet") + n, texts.humidity, 11, 10,
                             bottomOf(wind));
    addText(row.get(), QStringLiteral("labelpressure") + n, texts.pressure, 11, 10,
            bottomOf(humidity));

    const QString relative = conditionPicturePath(forecast);
    const QString path = pictures ? pictures(relative) : relative;
    const QPixmap pixmap = loadPicture(path);
    if (pixmap.isNull()) {
        qCWarning(lcWeather).noquote() << "cannot load the weather picture" << path;
        return nullptr;
    }
    auto *picture = new QLabel(row.get());
    picture->setObjectName(QStringLiteral("imagecloudiness") + n);
    picture->setAlignment(Qt::AlignCenter);
    picture->setGeometry(pictureSlot(row->size()));
    picture->setPixmap(pixmap);
    picture->resize(pixmap.size()); // automatic size keeps the top-left corner

    auto *cloudiness = addText(row.get(), QStringLiteral("labelcloudiness") + n, texts.cloudiness,
                               11, picture->x() + 20, bottomOf(picture));
    addText(row.get(), QStringLiteral("labelprecipitation") + n, texts.precipitation, 11,
            picture->x() + 20, bottomOf(cloudiness));

    row->setParent(panel);
    row->show();
    return row.release();
}

QString attributionText() {
    return QStringLiteral("Прогноз погоды: Gismeteo");
}

QLabel *buildAttribution(QWidget *panel, const QRect &lastRow) {
    auto *caption = new QLabel(attributionText(), panel);
    caption->setObjectName(QStringLiteral("labelweekday0"));
    caption->setFont(QFont(kFontFamily, 12));
    caption->adjustSize();
    caption->move(attributionLeft(panel->width(), caption->width()), attributionTop(lastRow));
    caption->show();
    return caption;
}

} // namespace kalmo::weather

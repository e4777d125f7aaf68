#pragma once

#include "calendar/tile_look.h"

#include <QImage>
#include <QWidget>

namespace kalmo::calendar {

// The day tile: the day's picture fills it as a background and the day's text, a small
// HTML fragment, stands over it as a centred paragraph. Border, background and text take
// their colours from the look for the normal, hovered and pressed states. A press and
// release inside the tile emits clicked().
class DayTile : public QWidget {
    Q_OBJECT
public:
    explicit DayTile(QWidget *parent = nullptr);

    void setLook(const TileLook &look);
    const TileLook &look() const { return m_look; }
    // The font size alone (the editors apply it separately from the other look values).
    void setFontSize(int points);
    void setFontName(const QString &family);

    // An empty path, a blank or a file that does not load means no picture.
    void loadPicture(const QString &path);
    // The reading half of loadPicture, decoded no larger than fills `tileSize`: touches no
    // widget, so it runs on a worker when the file may lie on a share.
    static QImage readPicture(const QString &path, const QSize &tileSize);
    void setPicture(const QImage &picture);
    void clearPicture();
    bool hasPicture() const { return !m_picture.isNull(); }

    void setText(const QString &html);
    const QString &text() const { return m_html; }
    // The text as a reader sees it; also the accessible name.
    QString plainText() const;

    enum class State { Normal, Hover, Down };
    State state() const { return m_state; }

signals:
    void clicked();

protected:
    void paintEvent(QPaintEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    void setState(State state);
    QFont tileFont() const;

    TileLook m_look;
    QImage m_picture;
    QString m_html;
    State m_state = State::Normal;
    bool m_hovered = false;
};

} // namespace kalmo::calendar

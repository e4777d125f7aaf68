#pragma once

#include "core/idle_clock.h"
#include "core/messages.h"
#include "core/program_values.h"
#include "core/swipe_detector.h"
#include "photo/photo_decoder.h"
#include "photo/photo_list.h"
#include "photo/viewer_layout.h"

#include <QDialog>
#include <QSize>
#include <QStringList>
#include <QTimer>
#include <array>
#include <deque>
#include <functional>
#include <optional>

class QLabel;
class QPushButton;
class QScrollArea;
class QToolButton;

namespace kalmo::transitions {
class TPicShow;
}

namespace kalmo::photo {

using Swipe = core::SwipeDirection;

class Thumbnail;

// What the photo viewer is handed by the application.
struct PhotoViewerServices {
    core::ProgramValues &values;
    core::Messages &messages;
    core::IdleClock &idle;
    QSize screenSize; // the screen the viewer fills
};

// The photo viewer: pages of 16 thumbnails of the photo folder, and one photo at a time full
// screen with a transition, stepped through by swipes. Closes itself after two minutes
// without input.
class TForm5 : public QDialog {
    Q_OBJECT
public:
    static constexpr int kIdleCloseSeconds = 120;

    explicit TForm5(PhotoViewerServices services, QWidget *parent = nullptr);
    ~TForm5() override;

    // Handlers, public so that tests drive them directly.
    void formGesture(Swipe swipe);   // page mode: left = next page, right = previous
    void panel1Gesture(Swipe swipe); // full view: left = next photo, right = previous
    void myImageDblClick(int number);
    void picShow1DblClick();
    void imageMinimizeClick();
    void speedButton1Click(); // next page
    void speedButton2Click(); // previous page
    void speedButton3Click(); // close
    void scrollBox1MouseWheelDown();
    void scrollBox1MouseWheelUp();
    void timer1Timer();

    const QStringList &photos() const { return m_photos; }
    const PageCounter &pageCounter() const { return m_pages; }
    int viewerPhotoIndex() const { return m_viewerIndex; }
    const ViewerLayout &layoutRules() const { return m_layout; }
    // Thumbnail 1..16, null while the page is not built.
    Thumbnail *thumbnail(int number) const;
    transitions::TPicShow &picShow() { return *m_picShow; }
    QWidget *panel1() const { return m_panel1; }
    QLabel *nameImage() const { return m_nameImage; }
    QPushButton *imageMinimize() const { return m_imageMinimize; }
    QScrollArea *scrollBox1() const { return m_scrollBox1; }
    QTimer &idleTimer() { return m_timer1; }
    PhotoDecoder &decoder() { return m_decoder; }

    void setVisible(bool visible) override;

signals:
    // The viewer's list was built anew: the main screen's current photo goes back before
    // its first, so that its slideshow starts again from the first photo.
    void photoListRebuilt();
    // Every thumbnail of the page shown has its picture (or its placeholder).
    void pageShown();

protected:
    void hideEvent(QHideEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void formCreate();
    bool formShow();
    void formHide();
    // Lists the folder anew; `then` runs once the list is in, unless the folder could not be
    // listed (then the viewer says so and closes).
    void buildPhotoList(std::function<void()> then);
    // Runs `then` when the folder is still there, else says so and closes the viewer.
    void unlessFolderGone(std::function<void()> then);
    QString photoFolder() const;
    void createThumbnails();
    void destroyThumbnails();
    void showPage(const PageCounter::Page &page);
    void fillPageForward();
    void openFullView();
    void closeFullView();
    void closeViewer();
    void handleMissingPhoto();
    void onThumbnailDecoded(int slot, const QImage &image);
    void onFullViewDecoded(const QString &path, const QImage &image,
                           media::DecodedPhoto::Status status);

    PhotoViewerServices m_s;
    core::ProgramValues &m_values;
    ViewerLayout m_layout;

    QStringList m_photos; // ListBox1: the viewer photo list, full paths
    PageCounter m_pages;
    int m_viewerIndex = 0;
    bool m_opening = false; // inside the showing, before the window is on screen
    bool m_closedWhileOpening = false;
    quint64 m_listingGeneration = 0;
    struct PageStep { // a page turn waiting for its folder check
        quint64 number;
        std::optional<bool> exists;
        bool answered;
        std::function<void()> then;
    };
    std::deque<PageStep> m_steps;
    quint64 m_lastStep = 0;
    QString m_currentPhotoName;
    QString m_fullViewPath; // the photo whose decode the full view waits for

    QToolButton *m_speedButton1 = nullptr;
    QToolButton *m_speedButton2 = nullptr;
    QToolButton *m_speedButton3 = nullptr;
    QScrollArea *m_scrollBox1 = nullptr;
    QWidget *m_thumbnailArea = nullptr;
    std::array<Thumbnail *, PageCounter::kThumbnails> m_thumbnails{};
    QWidget *m_panel1 = nullptr;
    transitions::TPicShow *m_picShow = nullptr; // PicShow1
    QLabel *m_nameImage = nullptr;
    QPushButton *m_imageMinimize = nullptr;
    core::SwipeDetector *m_gestures = nullptr; // GestureManager1
    QTimer m_timer1;                           // idle close and the close button's visibility
    PhotoDecoder m_decoder;
};

} // namespace kalmo::photo

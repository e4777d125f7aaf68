#include "photo/photo_window.h"

#include "core/button_pictures.h"
#include "core/escape_guard.h"
#include "core/log.h"
#include "core/theme.h"
#include "media/folder_listing.h"
#include "photo/thumbnail.h"
#include "transitions/picshow.h"

#include <QCloseEvent>
#include <QHideEvent>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QToolButton>
#include <QWheelEvent>

namespace kalmo::photo {

namespace {

const QString kNoFolderAccess = QStringLiteral("Отсутствует доступ к каталогу с фото");
const QString kNoPhotoAccess = QStringLiteral("Отсутствует доступ к фото");

constexpr int kOpenStyle = 52;      // "Expand out from centre"
constexpr int kNextStyle = 15;      // "Unroll from right"
constexpr int kPrevStyle = 14;      // "Unroll from left"
constexpr int kWheelStep = 4;       // scroll position moved by one wheel notch
constexpr int kCloseAfterTouch = 2; // seconds the "ЗАКРЫТЬ" button stays after a touch

QFont timesFont(int pixels, bool italic) {
    QFont font(QStringLiteral("Times New Roman"));
    font.setPixelSize(pixels);
    font.setBold(true);
    font.setItalic(italic);
    return font;
}

} // namespace

TForm5::TForm5(PhotoViewerServices services, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint), m_s(services),
      m_values(services.values), m_layout(ViewerLayout::forScreen(services.screenSize)) {
    setObjectName(QStringLiteral("Form5"));
    setWindowTitle(QStringLiteral("Photo"));
    setWindowModality(Qt::ApplicationModal);
    new core::EscapeGuard(this);
    formCreate();
}

TForm5::~TForm5() {
    m_decoder.cancelPage();
    m_decoder.cancelFullView();
}

void TForm5::formCreate() {
    setGeometry(m_layout.window);

    const struct {
        QToolButton *&button;
        const char *name;
        QRect rect;
        QPixmap picture;
        void (TForm5::*handler)();
    } buttons[] = {
        {m_speedButton1, "SpeedButton1", m_layout.speedButton1, core::chevronPicture(false, 68),
         &TForm5::speedButton1Click},
        {m_speedButton2, "SpeedButton2", m_layout.speedButton2, core::chevronPicture(true, 68),
         &TForm5::speedButton2Click},
        {m_speedButton3, "SpeedButton3", m_layout.speedButton3, core::crossPicture(),
         &TForm5::speedButton3Click},
    };
    for (const auto &b : buttons) {
        b.button = new QToolButton(this);
        b.button->setObjectName(QLatin1String(b.name));
        b.button->setAccessibleName(QLatin1String(b.name));
        b.button->setAutoRaise(true);
        b.button->setFocusPolicy(Qt::NoFocus);
        b.button->setIcon(b.picture);
        b.button->setIconSize(b.picture.size());
        b.button->setGeometry(b.rect);
        connect(b.button, &QToolButton::clicked, this, b.handler);
    }

    m_scrollBox1 = new QScrollArea(this);
    m_scrollBox1->setObjectName(QStringLiteral("ScrollBox1"));
    m_scrollBox1->setFrameShape(QFrame::NoFrame);
    m_scrollBox1->setGeometry(m_layout.scrollBox1);
    m_thumbnailArea = new QWidget;
    m_thumbnailArea->resize(m_layout.thumbnailArea());
    m_scrollBox1->setWidget(m_thumbnailArea); // takes ownership
    // The window's own background shows through: one full-screen fill instead of three.
    m_scrollBox1->viewport()->setAutoFillBackground(false);
    m_thumbnailArea->setAutoFillBackground(false);
    m_scrollBox1->viewport()->installEventFilter(this);

    m_panel1 = new QWidget(this);
    m_panel1->setObjectName(QStringLiteral("Panel1"));
    m_panel1->setAutoFillBackground(true);
    m_panel1->setGeometry(0, 0, 100, 100);
    m_panel1->hide();

    m_picShow = new transitions::TPicShow(m_panel1);
    m_picShow->setObjectName(QStringLiteral("PicShow1"));
    m_picShow->setAlign(transitions::TPicShow::alClient);
    m_picShow->setGeometry(m_panel1->rect());
    m_picShow->setColor(core::Themes::windowColour());
    m_picShow->setBgMode(transitions::TPicShow::bmStretched);
    m_picShow->setCenter(true);
    m_picShow->setProportional(true);
    m_picShow->setAutoSize(true);
    m_picShow->setStyle(kOpenStyle);
    m_picShow->installEventFilter(this);

    m_nameImage = new QLabel(m_panel1);
    m_nameImage->setObjectName(QStringLiteral("NameImage"));
    m_nameImage->setFont(timesFont(24, true));
    m_nameImage->setAutoFillBackground(true);
    QPalette captionColours = m_nameImage->palette();
    captionColours.setColor(QPalette::WindowText, Qt::black);
    m_nameImage->setPalette(captionColours);
    m_nameImage->move(ViewerLayout::nameImagePos(m_layout.window.size(), m_nameImage->width()));

    m_imageMinimize = new QPushButton(QStringLiteral("ЗАКРЫТЬ"), m_panel1);
    m_imageMinimize->setObjectName(QStringLiteral("imageminimize"));
    m_imageMinimize->setAccessibleName(m_imageMinimize->text());
    m_imageMinimize->setFont(timesFont(27, false));
    m_imageMinimize->setFocusPolicy(Qt::NoFocus);
    m_imageMinimize->resize(m_imageMinimize->sizeHint().expandedTo(QSize(180, 50)));
    connect(m_imageMinimize, &QPushButton::clicked, this, &TForm5::imageMinimizeClick);

    m_timer1.setObjectName(QStringLiteral("Timer1"));
    m_timer1.setInterval(1000);
    connect(&m_timer1, &QTimer::timeout, this, &TForm5::timer1Timer);

    // Swipes are handled after the input event has been delivered: paging may close the
    // viewer and destroy the thumbnail the finger was lifted from.
    m_gestures = new core::SwipeDetector(this, [this](QObject *watched) {
        auto *w = qobject_cast<QWidget *>(watched);
        return w && w->isVisible() && (w == this || isAncestorOf(w));
    });
    m_gestures->setObjectName(QStringLiteral("GestureManager1"));
    connect(m_gestures, &core::SwipeDetector::swiped, this, [this](Swipe swipe) {
        if (swipe != Swipe::Left && swipe != Swipe::Right)
            return; // the viewer pages sideways only
        QMetaObject::invokeMethod(
            this,
            [this, swipe] {
                if (m_panel1->isVisibleTo(this))
                    panel1Gesture(swipe);
                else
                    formGesture(swipe);
            },
            Qt::QueuedConnection);
    });

    connect(&m_decoder, &PhotoDecoder::thumbnailDecoded, this, &TForm5::onThumbnailDecoded);
    connect(&m_decoder, &PhotoDecoder::pageDecoded, this, &TForm5::pageShown);
    connect(&m_decoder, &PhotoDecoder::fullViewDecoded, this, &TForm5::onFullViewDecoded);
}

void TForm5::setVisible(bool visible) {
    if (visible && !isVisible()) {
        m_opening = true;
        const bool shown = formShow();
        m_opening = false;
        if (!shown)
            return;
    }
    QDialog::setVisible(visible);
}

bool TForm5::formShow() {
    m_timer1.start();
    m_picShow->setColor(core::Themes::windowColour());
    m_scrollBox1->verticalScrollBar()->setValue(0);
    // The page shows its placeholders until the listing answers: a slow share never holds
    // the viewer up, and one that hangs closes it with the folder message.
    createThumbnails();
    m_closedWhileOpening = false;
    buildPhotoList([this] {
        m_pages.reset(int(m_photos.size()));
        qCInfo(kalmo::lcPhoto) << "Photo viewer opens on" << m_photos.size() << "photos in"
                               << photoFolder();
        fillPageForward();
    });
    return !m_closedWhileOpening;
}

QString TForm5::photoFolder() const {
    return media::folderPath(m_values.photoFolder, m_values.baseFolder);
}

void TForm5::hideEvent(QHideEvent *event) {
    QDialog::hideEvent(event);
    if (!event->spontaneous())
        formHide();
}

void TForm5::closeEvent(QCloseEvent *event) {
    QDialog::closeEvent(event);
    formHide();
}

void TForm5::formHide() {
    ++m_listingGeneration;
    m_steps.clear();
    m_timer1.stop();
    closeFullView();
    destroyThumbnails();
}

void TForm5::buildPhotoList(std::function<void()> then) {
    m_photos.clear();
    m_pages.setCount(0);
    emit photoListRebuilt();
    const quint64 generation = ++m_listingGeneration;
    const QString folder = photoFolder();
    m_decoder.listFolder(folder, [this, generation, folder, then = std::move(then)](
                                     std::optional<media::FolderListing> listing) {
        if (generation != m_listingGeneration)
            return;
        if (!listing || !listing->available) {
            qCWarning(kalmo::lcPhoto) << "Photo folder cannot be listed:" << folder
                                      << (listing ? "" : "(no answer in time)");
            m_s.messages.show(kNoFolderAccess);
            closeViewer();
            return;
        }
        m_photos = listing->paths;
        m_pages.setCount(int(m_photos.size()));
        then();
    });
}

Thumbnail *TForm5::thumbnail(int number) const {
    if (number < 1 || number > PageCounter::kThumbnails)
        return nullptr;
    return m_thumbnails[number - 1];
}

void TForm5::createThumbnails() {
    destroyThumbnails();
    for (int number = 1; number <= PageCounter::kThumbnails; ++number) {
        auto *t = new Thumbnail(number, m_thumbnailArea);
        t->setGeometry(m_layout.thumbnailRect(number));
        // Queued: the handler may end up destroying the thumbnail it came from.
        connect(t, &Thumbnail::doubleClicked, this, &TForm5::myImageDblClick, Qt::QueuedConnection);
        t->show();
        m_thumbnails[number - 1] = t;
    }
}

void TForm5::destroyThumbnails() {
    m_decoder.cancelPage();
    for (Thumbnail *&t : m_thumbnails) {
        delete t;
        t = nullptr;
    }
}

void TForm5::showPage(const PageCounter::Page &page) {
    if (!m_thumbnails[0])
        return;
    QStringList paths;
    for (int k = 0; k < PageCounter::kThumbnails; ++k) {
        m_thumbnails[k]->setTag(page[k]);
        m_thumbnails[k]->setImage(QImage());
        paths << (page[k] >= 0 ? m_photos[page[k]] : QString());
    }
    m_decoder.requestPage(paths, m_layout.thumbnail);
}

void TForm5::fillPageForward() {
    showPage(m_pages.forward());
}

void TForm5::onThumbnailDecoded(int slot, const QImage &image) {
    if (Thumbnail *t = m_thumbnails[slot])
        t->setImage(image);
}

void TForm5::unlessFolderGone(std::function<void()> then) {
    const quint64 generation = m_listingGeneration;
    const QString folder = photoFolder();
    // Page turns happen in the order they were asked for, whatever order the checks answer.
    const quint64 step = ++m_lastStep;
    m_steps.push_back({step, std::nullopt, false, std::move(then)});
    m_decoder.checkFolder(folder, [this, generation, folder, step](std::optional<bool> exists) {
        // The viewer closed or listed anew meanwhile: the answer is for a page no more shown.
        if (generation != m_listingGeneration || !m_thumbnails[0])
            return;
        for (PageStep &s : m_steps)
            if (s.number == step) {
                s.answered = true;
                s.exists = exists;
            }
        while (!m_steps.empty() && m_steps.front().answered) {
            const PageStep s = std::move(m_steps.front());
            m_steps.pop_front();
            if (s.exists && *s.exists) {
                s.then();
                continue;
            }
            qCWarning(kalmo::lcPhoto)
                << "Photo folder is gone:" << folder << (s.exists ? "" : "(no answer in time)");
            m_s.messages.show(kNoFolderAccess);
            closeViewer();
            return;
        }
    });
}

void TForm5::speedButton1Click() {
    unlessFolderGone([this] { fillPageForward(); });
}

void TForm5::speedButton2Click() {
    unlessFolderGone([this] { showPage(m_pages.backward()); });
}

void TForm5::speedButton3Click() {
    closeViewer();
}

void TForm5::closeViewer() {
    ++m_listingGeneration; // answers still on their way are for a viewer no more shown
    m_steps.clear();
    destroyThumbnails();
    m_timer1.stop();
    if (m_opening)
        m_closedWhileOpening = true;
    if (isVisible() || m_opening)
        done(QDialog::Rejected);
}

void TForm5::formGesture(Swipe swipe) {
    if (m_panel1->isVisibleTo(this))
        return;
    if (swipe == Swipe::Left)
        speedButton1Click();
    else
        speedButton2Click();
}

void TForm5::scrollBox1MouseWheelDown() {
    QScrollBar *bar = m_scrollBox1->verticalScrollBar();
    bar->setValue(bar->value() + kWheelStep);
}

void TForm5::scrollBox1MouseWheelUp() {
    QScrollBar *bar = m_scrollBox1->verticalScrollBar();
    bar->setValue(bar->value() - kWheelStep);
}

void TForm5::myImageDblClick(int number) {
    if (m_panel1->isVisibleTo(this))
        return;
    Thumbnail *t = thumbnail(number);
    if (!t || t->tag() < 0)
        return; // an empty folder: nothing to show
    m_viewerIndex = t->tag();
    // A photo gone since the listing is found by its decode, away from the GUI thread.
    if (m_viewerIndex >= m_photos.size()) {
        handleMissingPhoto();
        return;
    }
    m_panel1->setGeometry(0, 0, width(), height());
    m_picShow->setGeometry(m_panel1->rect());
    m_imageMinimize->move(
        ViewerLayout::imageMinimizePos(m_panel1->size(), m_imageMinimize->width()));
    m_panel1->raise();
    m_panel1->show();
    m_picShow->show();
    m_picShow->setStyle(kOpenStyle);
    openFullView();
}

void TForm5::panel1Gesture(Swipe swipe) {
    const int count = int(m_photos.size());
    if (!m_panel1->isVisibleTo(this) || count == 0)
        return;
    if (swipe == Swipe::Left) {
        if (++m_viewerIndex > count - 1 || m_viewerIndex < 0)
            m_viewerIndex = 0;
    } else {
        if (--m_viewerIndex < 0 || m_viewerIndex > count - 1)
            m_viewerIndex = count - 1;
    }
    m_picShow->setStyle(swipe == Swipe::Left ? kNextStyle : kPrevStyle);
    openFullView();
}

void TForm5::openFullView() {
    const QString path = m_photos[m_viewerIndex];
    m_currentPhotoName = path.mid(path.lastIndexOf(QLatin1Char('/')) + 1);
    const QString caption = captionFor(path);
    m_nameImage->setText(caption);
    m_nameImage->setAccessibleName(caption);
    m_nameImage->adjustSize();
    m_nameImage->move(ViewerLayout::nameImagePos(m_panel1->size(), m_nameImage->width()));
    m_nameImage->raise();
    m_imageMinimize->raise();
    // The picture arrives decoded at the size it is shown; a swipe meanwhile supersedes it.
    m_fullViewPath = path;
    m_decoder.requestFullView(path, m_panel1->size());
}

void TForm5::onFullViewDecoded(const QString &path, const QImage &image,
                               media::DecodedPhoto::Status status) {
    if (path != m_fullViewPath || !m_panel1->isVisibleTo(this))
        return;
    m_fullViewPath.clear();
    if (status == media::DecodedPhoto::Missing) {
        handleMissingPhoto();
        return;
    }
    if (image.isNull()) {
        // Only the caption, on the background.
        m_picShow->stop();
        m_picShow->setPicture(QImage());
        m_picShow->clear();
        return;
    }
    m_picShow->setPicture(image);
    // Does nothing while a transition still runs: that one finishes with its own picture.
    m_picShow->execute();
}

void TForm5::picShow1DblClick() {
    closeFullView();
}

void TForm5::imageMinimizeClick() {
    closeFullView();
}

void TForm5::closeFullView() {
    m_decoder.cancelFullView();
    m_fullViewPath.clear();
    // A transition left running behind the hidden panel would swallow the next one.
    m_picShow->stop();
    m_panel1->hide();
    m_picShow->hide();
    m_panel1->resize(100, 100);
}

void TForm5::handleMissingPhoto() {
    qCWarning(kalmo::lcPhoto) << "Photo is gone:"
                              << (m_viewerIndex >= 0 && m_viewerIndex < m_photos.size()
                                      ? m_photos[m_viewerIndex]
                                      : QString::number(m_viewerIndex));
    // Closes the viewer when the folder is gone too.
    buildPhotoList([this] {
        if (m_photos.size() >= 2) {
            m_pages.reset(int(m_photos.size()));
            fillPageForward();
        }
    });
    m_s.messages.show(kNoPhotoAccess);
    closeFullView();
}

void TForm5::timer1Timer() {
    const std::uint32_t idle = m_s.idle.idleSeconds();
    if (idle >= kIdleCloseSeconds) {
        closeFullView();
        speedButton3Click();
        m_timer1.stop();
    }
    if (idle >= kCloseAfterTouch)
        m_imageMinimize->hide();
    if (idle == 0)
        m_imageMinimize->show();
}

bool TForm5::eventFilter(QObject *watched, QEvent *event) {
    if (watched == m_picShow && event->type() == QEvent::MouseButtonDblClick) {
        picShow1DblClick();
    } else if (watched == m_scrollBox1->viewport() && event->type() == QEvent::Wheel) {
        const int dy = static_cast<QWheelEvent *>(event)->angleDelta().y();
        if (dy < 0)
            scrollBox1MouseWheelDown();
        else if (dy > 0)
            scrollBox1MouseWheelUp();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace kalmo::photo

#include "app/photo_list.h"
#include "app/slideshow.h"
#include "core/swipe_detector.h"

#include <QTest>

using kalmo::app::Slideshow;
using kalmo::app::SwipeDirection;

namespace {

QStringList photos(int n) {
    QStringList list;
    for (int i = 0; i < n; ++i)
        list << QString("/p/photo%1.jpg").arg(i);
    return list;
}

} // namespace

class TestSlideshow : public QObject {
    Q_OBJECT
private slots:
    void captionsAndShortNames();
    void singlePhotoIsShownOnceAndKept();
    void twoPhotosAlternate();
    void styleCounterWrapsAndRedrawsAdvanceIt();
    void vanishedFolderGivesTheErrorCaption();
    void swipesStepAndWrap_data();
    void swipesStepAndWrap();
    void swipeTexts();
    void afterViewerShowsTheNextEntry();
    void swipeClassification_data();
    void swipeClassification();
};

void TestSlideshow::captionsAndShortNames() {
    QCOMPARE(kalmo::app::photoCaption("/p/Выпуск.2024.jpg"), QStringLiteral("Выпуск.2024"));
    QCOMPARE(kalmo::app::photoCaption("/p/noext"), QString("noext"));
    QCOMPARE(kalmo::app::photoShortName("/p/Выпуск.2024.jpg", "/p/"), QStringLiteral("Выпуск"));
}

void TestSlideshow::singlePhotoIsShownOnceAndKept() {
    kalmo::core::Random random(5);
    Slideshow s(random);
    s.setPhotos(photos(1), "/p/");
    const auto first = s.automaticChange(true);
    QCOMPARE(first.kind, Slideshow::Action::Show);
    QCOMPARE(first.path, QString("/p/photo0.jpg"));
    QCOMPARE(first.style, 1);
    // Not decoded yet (or it failed): asked again at the next change.
    QCOMPARE(s.automaticChange(true).kind, Slideshow::Action::Show);
    s.setShownPath(first.path);
    for (int i = 0; i < 3; ++i) {
        s.setPhotos(photos(1), "/p/");
        QCOMPARE(s.automaticChange(true).kind, Slideshow::Action::Rebuild);
    }
    // Another single photo in its place is shown in its turn.
    s.setPhotos({"/p/poster.png"}, "/p/");
    QCOMPARE(s.automaticChange(true).path, QString("/p/poster.png"));
    s.setPhotos({}, "/p/");
    QCOMPARE(s.automaticChange(true).kind, Slideshow::Action::Rebuild);
}

void TestSlideshow::twoPhotosAlternate() {
    kalmo::core::Random random(9);
    Slideshow s(random);
    s.setPhotos(photos(2), "/p/");
    QStringList shown;
    for (int i = 0; i < 6; ++i) {
        const auto a = s.automaticChange(true);
        QCOMPARE(a.kind, Slideshow::Action::Show);
        QCOMPARE(s.lastShown(), s.currentIndex());
        shown << a.caption;
    }
    // Last shown starts at 1, so the first change shows photo 0.
    QCOMPARE(shown, QStringList({"photo0", "photo1", "photo0", "photo1", "photo0", "photo1"}));
}

void TestSlideshow::styleCounterWrapsAndRedrawsAdvanceIt() {
    kalmo::core::Random random(3);
    Slideshow s(random);
    s.setPhotos(photos(2), "/p/");
    int expected = 0;
    for (int i = 0; i < 400; ++i) {
        const int before = s.styleCounter();
        const auto a = s.automaticChange(true);
        QVERIFY(a.style >= 1 && a.style <= 175);
        // Each redraw of a repeated photo moved the counter on by one more.
        const int steps = (a.style - before + 175) % 175;
        QVERIFY(steps >= 1);
        expected = a.style;
    }
    QCOMPARE(s.styleCounter(), expected);
}

void TestSlideshow::vanishedFolderGivesTheErrorCaption() {
    kalmo::core::Random random(4);
    Slideshow s(random);
    s.setPhotos({"/p/Зима.2025.jpg", "/p/Лето.jpg", "/p/Осень.jpg"}, "/p/");
    const int lastShown = s.lastShown();
    const auto a = s.automaticChange(false);
    QCOMPARE(a.kind, Slideshow::Action::Caption);
    QVERIFY(a.caption.startsWith(QStringLiteral("Не удается загрузить фото ")));
    QVERIFY(a.caption.endsWith(
        QStringLiteral(", проверьте наличие доступа к каталогу с фоторгафиями")));
    QVERIFY(!a.caption.contains('.'));
    QCOMPARE(s.lastShown(), lastShown);
}

void TestSlideshow::swipesStepAndWrap_data() {
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("gesture");
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("style");
    using G = SwipeDirection;
    QTest::newRow("left on the last shows the first") << 2 << int(G::Left) << 0 << 15;
    QTest::newRow("right on the first shows the last") << 0 << int(G::Right) << 2 << 14;
    QTest::newRow("up is previous") << 1 << int(G::Up) << 0 << 20;
    QTest::newRow("down is next") << 1 << int(G::Down) << 2 << 21;
    QTest::newRow("right before the first") << -1 << int(G::Right) << 2 << 14;
}

void TestSlideshow::swipesStepAndWrap() {
    QFETCH(int, start);
    QFETCH(int, gesture);
    QFETCH(int, index);
    QFETCH(int, style);
    kalmo::core::Random random(1);
    Slideshow s(random);
    s.setPhotos(photos(3), "/p/");
    s.setCurrentIndex(start);
    const int lastShown = s.lastShown();
    const auto a = s.swipe(SwipeDirection(gesture), true);
    QCOMPARE(a.kind, Slideshow::Action::Show);
    QCOMPARE(s.currentIndex(), index);
    QCOMPARE(a.style, style);
    QCOMPARE(a.caption, QString("photo%1").arg(index));
    QCOMPARE(s.lastShown(), lastShown);
}

void TestSlideshow::swipeTexts() {
    kalmo::core::Random random(1);
    Slideshow s(random);
    QCOMPARE(s.swipe(SwipeDirection::Left, true).caption,
             QStringLiteral("Для просмотра не выбраны фотоматериалы. "));
    s.setPhotos({"/p/a.b.jpg"}, "/p/");
    const QString base = QStringLiteral(
        "Не удается загрузить фото a, проверьте наличие доступа к каталогу с фоторгафиями");
    QCOMPARE(s.swipe(SwipeDirection::Down, false).caption, base + ".");
    QCOMPARE(s.swipe(SwipeDirection::Up, false).caption, base);
}

void TestSlideshow::afterViewerShowsTheNextEntry() {
    kalmo::core::Random random(1);
    Slideshow s(random);
    QCOMPARE(s.afterViewer(true).kind, Slideshow::Action::None);
    s.setPhotos({"/p/a.x.jpg", "/p/b.jpg"}, "/p/");
    s.setCurrentIndex(-1); // the viewer opened and the slideshow made no change meanwhile
    auto a = s.afterViewer(true);
    QCOMPARE(a.kind, Slideshow::Action::Show);
    QCOMPARE(a.style, 130);
    QCOMPARE(a.caption, QString("a")); // up to the first '.'
    s.setCurrentIndex(1);
    a = s.afterViewer(false);
    QCOMPARE(s.currentIndex(), 0);
    QCOMPARE(a.caption,
             QStringLiteral("Не удается загрузить фото a, проверьте доступ к каталогу с фото."));
}

void TestSlideshow::swipeClassification_data() {
    QTest::addColumn<QPoint>("to");
    QTest::addColumn<int>("direction"); // -1: not a swipe
    QTest::newRow("tap") << QPoint(503, 498) << -1;
    QTest::newRow("left") << QPoint(300, 520) << int(SwipeDirection::Left);
    QTest::newRow("right") << QPoint(700, 470) << int(SwipeDirection::Right);
    QTest::newRow("up") << QPoint(510, 300) << int(SwipeDirection::Up);
    QTest::newRow("down") << QPoint(490, 700) << int(SwipeDirection::Down);
    QTest::newRow("diagonal") << QPoint(650, 650) << -1;
    QTest::newRow("too short") << QPoint(560, 500) << -1;
}

void TestSlideshow::swipeClassification() {
    QFETCH(QPoint, to);
    QFETCH(int, direction);
    const auto d = kalmo::core::classifySwipe(QPoint(500, 500), to);
    QCOMPARE(d.has_value() ? int(*d) : -1, direction);
}

QTEST_GUILESS_MAIN(TestSlideshow)
#include "test_slideshow.moc"

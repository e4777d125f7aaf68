#include "app/settings_files.h"

#include <QFile>
#include <QtTest>

// The administrator's guide lists every key of the main settings file; it is made from the
// program's own key table (kalmo-settings-doc README.md) and must not drift from it.
class TestReadmeKeys : public QObject {
    Q_OBJECT
private slots:
    void readmeTableMatchesTheKeyTable();
};

void TestReadmeKeys::readmeTableMatchesTheKeyTable() {
    QFile readme(QStringLiteral(KALMO_SOURCE_DIR "/README.md"));
    QVERIFY(readme.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(readme.readAll());
    const QString begin = QStringLiteral("<!-- settings-keys:begin -->\n");
    const qsizetype from = text.indexOf(begin);
    const qsizetype to = text.indexOf(QStringLiteral("<!-- settings-keys:end -->"));
    QVERIFY2(from >= 0 && to > from, "README.md lacks the settings-keys markers");
    const QString table = text.mid(from + begin.size(), to - from - begin.size());
    QVERIFY2(table == kalmo::app::mainKeysMarkdown(),
             "README.md's key table is out of date: run kalmo-settings-doc README.md");
}

QTEST_GUILESS_MAIN(TestReadmeKeys)
#include "test_readme_keys.moc"

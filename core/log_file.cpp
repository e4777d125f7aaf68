#include "core/log_file.h"

#include "core/clock.h"

#include <QDateTime>
#include <QMutexLocker>
#include <atomic>
#include <cstdio>
#include <cstdlib>

namespace kalmo::core {

namespace {

// The handler Qt calls is a plain function: it finds the log through this pointer.
std::atomic<LogFile *> s_active{nullptr};

const char *levelName(QtMsgType type) {
    switch (type) {
    case QtDebugMsg:
        return "debug";
    case QtInfoMsg:
        return "info";
    case QtWarningMsg:
        return "warning";
    case QtCriticalMsg:
        return "critical";
    case QtFatalMsg:
        return "fatal";
    }
    return "?";
}

} // namespace

LogFile::LogFile(Options options) : m_options(std::move(options)), m_file(m_options.path) {
    if (!m_options.path.isEmpty())
        m_file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Text);
    s_active.store(this);
    m_previous = qInstallMessageHandler(&LogFile::handler);
}

LogFile::~LogFile() {
    qInstallMessageHandler(m_previous);
    s_active.store(nullptr);
}

QString LogFile::formatLine(const QDateTime &time, QtMsgType type, const char *category,
                            const QString &message) {
    QString text = message;
    // One message, one line: a reader (or grep) never sees a half entry.
    text.replace(QLatin1String("\r\n"), QLatin1String(" | "));
    text.replace(u'\n', QLatin1String(" | "));
    text.replace(u'\r', QLatin1String(" | "));
    return time.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz")) + u' ' +
           QLatin1String(levelName(type)) + u' ' +
           QLatin1String(category && *category ? category : "default") + QLatin1String(": ") + text;
}

void LogFile::write(QtMsgType type, const char *category, const QString &message) {
    const QDateTime now = m_options.clock ? m_options.clock->now() : QDateTime::currentDateTime();
    const QByteArray line = formatLine(now, type, category, message).toUtf8() + '\n';
    QMutexLocker lock(&m_mutex);
    if (type == QtWarningMsg || type == QtCriticalMsg || type == QtFatalMsg)
        m_lastProblem = QLatin1String(category && *category ? category : "default") +
                        QLatin1String(": ") + message;
    if (m_file.isOpen()) {
        if (m_options.rotateBytes > 0 && m_file.size() > 0 &&
            m_file.size() + line.size() > m_options.rotateBytes)
            rotate();
        if (m_file.isOpen()) {
            m_file.write(line);
            m_file.flush();
        }
    }
    if (m_options.alsoStderr || !m_file.isOpen()) {
        std::fwrite(line.constData(), 1, static_cast<size_t>(line.size()), stderr);
        std::fflush(stderr);
    }
}

QString LogFile::lastProblem() const {
    QMutexLocker lock(&m_mutex);
    return m_lastProblem;
}

void LogFile::rotate() {
    m_file.close();
    const QString old = m_options.path + QStringLiteral(".1");
    QFile::remove(old);
    QFile::rename(m_options.path, old);
    m_file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Text);
}

void LogFile::handler(QtMsgType type, const QMessageLogContext &context, const QString &message) {
    if (LogFile *log = s_active.load())
        log->write(type, context.category, message);
    if (type == QtFatalMsg)
        std::abort();
}

} // namespace kalmo::core

#include "core/ini_file.h"

#include "core/log.h"
#include "core/strict_int.h"

#include <QFile>
#include <QHashFunctions>
#include <QSaveFile>
#include <QScopeGuard>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>
#include <vector>

namespace kalmo::core {

IniWriteError::IniWriteError(const QString &path, Reason reason)
    : std::runtime_error(("Unable to write to " + path).toStdString()), m_path(path),
      m_reason(reason) {}

namespace {

enum class Kind : quint8 { Other, Key, Header };
enum class Eol : quint8 { None, Lf, CrLf };

// One line of the file: where its bytes are, and what it is. The bytes stay as read until a
// write replaces that very line.
// Offsets are 32-bit: files are far below 4 GB (kMaxIniFileBytes), and what edits append
// is dropped at each store.
struct Line {
    quint32 start = 0; // first byte of the content in Document::bytes
    quint32 size = 0;  // bytes of the content, without the line end
    Kind kind = Kind::Other;
    Eol eol = Eol::None;
    // Content or line end differ from what follows `start` in the bytes as read.
    bool moved = false;
};

// Identity of a file as stat() saw it: a rewrite changes the inode (atomic replace) or the
// times and size (a writer in place); ctime catches a same-size rewrite within one mtime tick.
struct FileState {
    bool exists = false;
    int error = 0; // errno of a failed stat other than "not there"
    dev_t dev = 0;
    ino_t ino = 0;
    off_t size = -1;
    timespec mtime{};
    timespec ctime{};

    bool operator==(const FileState &o) const {
        return exists == o.exists && error == o.error && dev == o.dev && ino == o.ino &&
               size == o.size && mtime.tv_sec == o.mtime.tv_sec &&
               mtime.tv_nsec == o.mtime.tv_nsec && ctime.tv_sec == o.ctime.tv_sec &&
               ctime.tv_nsec == o.ctime.tv_nsec;
    }
};

FileState stateOf(const struct stat &st) {
    FileState s;
    s.exists = true;
    s.dev = st.st_dev;
    s.ino = st.st_ino;
    s.size = st.st_size;
    s.mtime = st.st_mtim;
    s.ctime = st.st_ctim;
    return s;
}

// "Not there" as opposed to "there but failing": only these read as a missing file.
bool isAbsent(int err) {
    return err == ENOENT || err == ENOTDIR;
}

FileState statPath(const QByteArray &native) {
    struct stat st {};
    if (::stat(native.constData(), &st) == 0)
        return stateOf(st);
    FileState s;
    s.error = isAbsent(errno) ? 0 : errno;
    return s;
}

QString errnoText(int err) {
    return QString::fromLocal8Bit(std::strerror(err));
}

bool isBlankUnit(char16_t u) {
    return u == u' ' || u == u'\t' || u == u'\r' || u == u'\v' || u == u'\f';
}

} // namespace

struct IniFile::Document {
    QByteArray bytes; // the file as read; replaced lines append their new content
    qsizetype bom = 0;
    TextEncoding encoding = TextEncoding::Utf8;
    int width = 1;           // bytes per code unit: 2 for UTF-16
    Eol newline = Eol::CrLf; // for new lines: the file's first line end
    std::vector<Line> lines;
    std::vector<qsizetype> headers; // line of each section header, in file order
    // (hash of the case-folded name, section number), sorted: finds a section in log time.
    std::vector<std::pair<size_t, qsizetype>> index;

    IniReadStatus status = IniReadStatus::Missing;
    QString error; // why it is Unreadable or TooLarge
    bool tooLarge = false;
    bool unreadable = false; // exists but could not be read: never replaced
    FileState state;         // the file this was parsed from

    char16_t unit(qsizetype byteOffset) const {
        const auto *p = reinterpret_cast<const unsigned char *>(bytes.constData()) + byteOffset;
        if (width == 1)
            return p[0];
        return encoding == TextEncoding::Utf16BE ? char16_t((p[0] << 8) | p[1])
                                                 : char16_t((p[1] << 8) | p[0]);
    }
    qsizetype units(const Line &l) const { return l.size / width; }
    char16_t at(const Line &l, qsizetype i) const { return unit(l.start + i * width); }
    QString decode(qsizetype start, qsizetype size) const {
        return decodeBytes(bytes.constData() + start, size, encoding);
    }
    QString text(const Line &l) const { return decode(l.start, l.size); }

    // Index of the first '=' of a line, in code units; -1 when it has none.
    qsizetype equals(const Line &l) const {
        if (width == 1) {
            const void *hit = std::memchr(bytes.constData() + l.start, '=', size_t(l.size));
            return hit ? static_cast<const char *>(hit) - (bytes.constData() + l.start) : -1;
        }
        for (qsizetype i = 0, n = units(l); i < n; ++i)
            if (at(l, i) == u'=')
                return i;
        return -1;
    }

    bool isBlank(const Line &l) const {
        for (qsizetype i = 0, n = units(l); i < n; ++i) {
            const char16_t u = at(l, i);
            if (u >= 0x80)
                return text(l).trimmed().isEmpty();
            if (!isBlankUnit(u))
                return false;
        }
        return true;
    }

    // The key of a key line, as text.
    QString keyName(const Line &l) const { return decode(l.start, equals(l) * width).trimmed(); }
    QString value(const Line &l) const {
        const qsizetype skip = (equals(l) + 1) * width;
        return decode(l.start + skip, l.size - skip).trimmed();
    }
    QString sectionName(const Line &l) const {
        const QString t = text(l).trimmed();
        const qsizetype close = t.indexOf(u']');
        return (close < 0 ? t.mid(1) : t.mid(1, close - 1)).trimmed();
    }

    // Whether a key line's name is `key` without regard to case: ASCII names are compared
    // on the bytes, anything else on the decoded text.
    bool keyIs(const Line &l, const QString &key, bool asciiKey) const {
        const qsizetype eq = equals(l);
        if (asciiKey) {
            qsizetype b = 0, e = eq;
            while (b < e && isBlankUnit(at(l, b)))
                ++b;
            while (e > b && isBlankUnit(at(l, e - 1)))
                --e;
            bool ascii = true;
            for (qsizetype i = b; i < e && ascii; ++i)
                ascii = at(l, i) < 0x80;
            if (ascii) {
                if (e - b != key.size())
                    return false;
                for (qsizetype i = b; i < e; ++i) {
                    char16_t a = at(l, i), c = key.at(i - b).unicode();
                    if (a >= u'A' && a <= u'Z')
                        a += 32;
                    if (c >= u'A' && c <= u'Z')
                        c += 32;
                    if (a != c)
                        return false;
                }
                return true;
            }
        }
        return keyName(l).compare(key, Qt::CaseInsensitive) == 0;
    }

    QByteArray eolBytes(Eol eol) const {
        static const char *const lf[] = {"\n", "\n\0", "\0\n"};
        static const char *const crlf[] = {"\r\n", "\r\0\n\0", "\0\r\0\n"};
        if (eol == Eol::None)
            return {};
        const int form = width == 1 ? 0 : encoding == TextEncoding::Utf16LE ? 1 : 2;
        return eol == Eol::Lf ? QByteArray(lf[form], width) : QByteArray(crlf[form], 2 * width);
    }

    // First and one-past-last line of section s's body.
    std::pair<qsizetype, qsizetype> body(qsizetype s) const {
        const qsizetype end =
            s + 1 < qsizetype(headers.size()) ? headers[size_t(s + 1)] : qsizetype(lines.size());
        return {headers[size_t(s)] + 1, end};
    }
};

namespace {

using Document = IniFile::Document;

// FNV-1a over the UTF-16 units of the case-folded name.
struct NameHash {
    size_t h = 14695981039346656037ull;
    void add(char16_t u) {
        h = (h ^ (u & 0xFF)) * 1099511628211ull;
        h = (h ^ (u >> 8)) * 1099511628211ull;
    }
};

size_t nameHash(const QString &name) {
    NameHash hash;
    for (const QChar c : name.toCaseFolded())
        hash.add(c.unicode());
    return hash.h;
}

// The hash of a header line's section name; ASCII names straight from the bytes.
size_t headerHash(const Document &doc, const Line &l) {
    const qsizetype n = doc.units(l);
    qsizetype b = 0;
    while (b < n && isBlankUnit(doc.at(l, b)))
        ++b;
    if (b < n && doc.at(l, b) == u'[') {
        qsizetype e = b + 1;
        bool ascii = true;
        while (e < n && doc.at(l, e) != u']') {
            ascii = ascii && doc.at(l, e) < 0x80;
            ++e;
        }
        if (ascii) {
            ++b;
            while (b < e && isBlankUnit(doc.at(l, b)))
                ++b;
            while (e > b && isBlankUnit(doc.at(l, e - 1)))
                --e;
            NameHash hash;
            for (qsizetype i = b; i < e; ++i) {
                const char16_t u = doc.at(l, i);
                hash.add(u >= u'A' && u <= u'Z' ? char16_t(u + 32) : u);
            }
            return hash.h;
        }
    }
    return nameHash(doc.sectionName(l));
}

bool isAscii(const QString &s) {
    return std::all_of(s.begin(), s.end(), [](QChar c) { return c.unicode() < 0x80; });
}

Kind classify(const Document &doc, const Line &l) {
    const qsizetype n = doc.units(l);
    qsizetype b = 0;
    while (b < n && isBlankUnit(doc.at(l, b)))
        ++b;
    if (b < n && doc.at(l, b) >= 0x80) {
        // A blank of a wider kind (no-break space...) may stand before the bracket.
        if (doc.text(l).trimmed().startsWith(u'['))
            return Kind::Header;
    } else if (b < n && doc.at(l, b) == u'[') {
        return Kind::Header;
    }
    const qsizetype eq = doc.equals(l);
    if (eq <= 0)
        return Kind::Other;
    for (qsizetype i = 0; i < eq; ++i) {
        const char16_t u = doc.at(l, i);
        if (u >= 0x80)
            return doc.keyName(l).isEmpty() ? Kind::Other : Kind::Key;
        if (!isBlankUnit(u))
            return Kind::Key;
    }
    return Kind::Other; // nothing but blanks before the '='
}

void reindex(Document &doc) {
    doc.headers.clear();
    doc.index.clear();
    for (qsizetype i = 0; i < qsizetype(doc.lines.size()); ++i) {
        if (doc.lines[size_t(i)].kind != Kind::Header)
            continue;
        doc.index.emplace_back(headerHash(doc, doc.lines[size_t(i)]),
                               qsizetype(doc.headers.size()));
        doc.headers.push_back(i);
    }
    std::sort(doc.index.begin(), doc.index.end());
}

void parse(Document &doc) {
    doc.encoding = detectEncoding(doc.bytes);
    doc.bom = bomSize(doc.encoding);
    doc.width =
        doc.encoding == TextEncoding::Utf16LE || doc.encoding == TextEncoding::Utf16BE ? 2 : 1;
    const qsizetype n = doc.bytes.size();
    const char *data = doc.bytes.constData();
    bool newlineSeen = false;
    qsizetype pos = doc.bom;
    doc.lines.reserve(size_t(std::count(data + pos, data + n, '\n') / doc.width + 1));
    while (pos < n) {
        // Next '\n' code unit.
        qsizetype nl = -1;
        if (doc.width == 1) {
            const void *hit = std::memchr(data + pos, '\n', size_t(n - pos));
            nl = hit ? static_cast<const char *>(hit) - data : -1;
        } else {
            for (qsizetype i = pos; i + 1 < n; i += 2)
                if (doc.unit(i) == u'\n') {
                    nl = i;
                    break;
                }
        }
        Line l;
        l.start = quint32(pos);
        if (nl < 0) {
            l.size = quint32(n - pos);
            pos = n;
        } else {
            l.size = quint32(nl - pos);
            l.eol = Eol::Lf;
            if (qsizetype(l.size) >= doc.width && doc.unit(nl - doc.width) == u'\r') {
                l.size -= doc.width;
                l.eol = Eol::CrLf;
            }
            if (!newlineSeen) {
                doc.newline = l.eol;
                newlineSeen = true;
            }
            pos = nl + doc.width;
        }
        l.kind = classify(doc, l);
        doc.lines.push_back(l);
    }
    reindex(doc);
}

QByteArray serialize(const Document &doc) {
    const auto eolSize = [&](Eol e) {
        return e == Eol::None ? 0 : e == Eol::Lf ? doc.width : 2 * doc.width;
    };
    qsizetype total = doc.bom;
    for (const Line &l : doc.lines)
        total += l.size + eolSize(l.eol);
    QByteArray out;
    out.reserve(total);
    out.append(doc.bytes.constData(), doc.bom);
    const QByteArray lf = doc.eolBytes(Eol::Lf), crlf = doc.eolBytes(Eol::CrLf);
    // Lines that still stand where they were read go out in runs, one copy per run.
    qsizetype runStart = 0, runEnd = 0;
    const auto flush = [&] {
        out.append(doc.bytes.constData() + runStart, runEnd - runStart);
        runStart = runEnd = 0;
    };
    for (const Line &l : doc.lines) {
        if (!l.moved) {
            if (runEnd != qsizetype(l.start))
                flush();
            if (runStart == runEnd)
                runStart = l.start;
            runEnd = qsizetype(l.start) + l.size + eolSize(l.eol);
            continue;
        }
        flush();
        out.append(doc.bytes.constData() + l.start, l.size);
        if (l.eol != Eol::None)
            out.append(l.eol == Eol::Lf ? lf : crlf);
    }
    flush();
    return out;
}

// After a store the document's bytes are the file's: drop what edits appended.
void rebase(Document &doc, QByteArray written) {
    doc.bytes = std::move(written);
    qsizetype pos = doc.bom;
    for (Line &l : doc.lines) {
        l.start = quint32(pos);
        l.moved = false;
        pos += l.size + (l.eol == Eol::None ? 0 : l.eol == Eol::Lf ? doc.width : 2 * doc.width);
    }
}

qsizetype findSection(const Document &doc, const QString &name) {
    const size_t h = nameHash(name);
    auto it = std::lower_bound(doc.index.begin(), doc.index.end(), std::pair{h, qsizetype(0)});
    for (; it != doc.index.end() && it->first == h; ++it)
        if (doc.sectionName(doc.lines[size_t(doc.headers[size_t(it->second)])])
                .compare(name, Qt::CaseInsensitive) == 0)
            return it->second;
    return -1;
}

qsizetype findKey(const Document &doc, qsizetype section, const QString &key) {
    if (section < 0)
        return -1;
    const bool ascii = isAscii(key);
    const auto [b, e] = doc.body(section);
    for (qsizetype i = b; i < e; ++i) {
        const Line &l = doc.lines[size_t(i)];
        if (l.kind == Kind::Key && doc.keyIs(l, key, ascii))
            return i;
    }
    return -1;
}

// Text in the file's own encoding; what the code page cannot hold becomes '?'.
QByteArray encodeFor(const Document &doc, const QString &text) {
    QByteArray bytes = encodeBytes(text, doc.encoding);
    if (doc.encoding == TextEncoding::Windows1251 &&
        decodeBytes(bytes.constData(), bytes.size(), doc.encoding) != text)
        qCWarning(kalmo::lcSettings).noquote()
            << "Windows-1251 has no letter for some of" << text << "; written as '?'";
    return bytes;
}

// Appends the bytes of a new or replaced line to the document; their start.
quint32 appendBytes(Document &doc, const QByteArray &bytes) {
    const auto start = quint32(doc.bytes.size());
    doc.bytes += bytes;
    return start;
}

Line newLine(Document &doc, const QString &text, Kind kind) {
    Line l;
    const QByteArray bytes = encodeFor(doc, text);
    l.start = appendBytes(doc, bytes);
    l.size = quint32(bytes.size());
    l.kind = kind;
    l.eol = doc.newline;
    l.moved = true;
    return l;
}

void insertLine(Document &doc, qsizetype at, const Line &line) {
    if (at == qsizetype(doc.lines.size()) && at > 0 && doc.lines.back().eol == Eol::None) {
        doc.lines.back().eol = doc.newline; // the old last line now needs its line end
        doc.lines.back().moved = true;
    }
    doc.lines.insert(doc.lines.begin() + at, line);
    for (auto it = std::lower_bound(doc.headers.begin(), doc.headers.end(), at);
         it != doc.headers.end(); ++it)
        ++*it;
}

void logTooLarge(const QString &path, qint64 size) {
    qCWarning(kalmo::lcSettings).noquote()
        << "Settings file" << path << "has" << size << "bytes, over the limit of"
        << kMaxIniFileBytes << "bytes: it is not read (defaults apply) and never rewritten";
}

} // namespace

IniFile::IniFile(QString path, Mode mode) : m_path(std::move(path)), m_mode(mode) {
    if (m_mode == Mode::Snapshot)
        load();
}

IniFile::~IniFile() = default;
IniFile::IniFile(IniFile &&) noexcept = default;
IniFile &IniFile::operator=(IniFile &&) noexcept = default;

IniFile::Document &IniFile::load() const {
    if (m_doc && (m_batches > 0 || m_mode == Mode::Snapshot ||
                  statPath(QFile::encodeName(m_path)) == m_doc->state))
        return *m_doc;
    reload();
    return *m_doc;
}

void IniFile::reload() const {
    auto doc = std::make_unique<Document>();
    readFile(*doc);
    // A file that stays unreadable is said once, not at every read of a key.
    if (doc->status == IniReadStatus::Unreadable &&
        !(m_doc && m_doc->status == doc->status && m_doc->error == doc->error))
        qCWarning(kalmo::lcSettings).noquote() << "Cannot read" << m_path << ":" << doc->error;
    m_doc = std::move(doc);
}

void IniFile::readFile(Document &doc) const {
    const auto fail = [&](const QString &why) {
        doc.status = IniReadStatus::Unreadable;
        doc.unreadable = true;
        doc.error = why;
        doc.bytes.clear();
    };
    const auto tooLarge = [&](qint64 size) {
        doc.status = IniReadStatus::TooLarge;
        doc.tooLarge = true;
        doc.error =
            QStringLiteral("%1 bytes, over the limit of %2").arg(size).arg(kMaxIniFileBytes);
        doc.bytes.clear();
        logTooLarge(m_path, size);
    };
    const QByteArray native = QFile::encodeName(m_path);
    // Non-blocking, so that a pipe put in the file's place cannot stall the open.
    const int fd = ::open(native.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        const int err = errno;
        doc.state.error = isAbsent(err) ? 0 : err;
        if (isAbsent(err))
            doc.status = IniReadStatus::Missing;
        else
            fail(errnoText(err));
        return;
    }
    const auto closeFd = qScopeGuard([fd] { ::close(fd); });
    struct stat st {};
    if (::fstat(fd, &st) != 0)
        return fail(errnoText(errno));
    doc.state = stateOf(st);
    if (S_ISDIR(st.st_mode))
        return fail(QStringLiteral("it is a folder"));
    if (!S_ISREG(st.st_mode))
        return fail(QStringLiteral("it is not a plain file"));
    if (st.st_size > kMaxIniFileBytes)
        return tooLarge(st.st_size);
    // One byte more than the limit: a file that grew past it since the fstat shows.
    const qsizetype want = qsizetype(std::min<qint64>(st.st_size, kMaxIniFileBytes) + 1);
    doc.bytes.resize(want);
    qsizetype got = 0;
    for (;;) {
        if (got == doc.bytes.size()) {
            if (got > kMaxIniFileBytes)
                return tooLarge(got);
            doc.bytes.resize(std::min<qsizetype>(got * 2, kMaxIniFileBytes + 1));
        }
        const ssize_t n = ::read(fd, doc.bytes.data() + got, size_t(doc.bytes.size() - got));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return fail(errnoText(errno));
        if (n == 0)
            break;
        got += n;
    }
    doc.bytes.resize(got);
    doc.status = IniReadStatus::Ok;
    parse(doc);
}

void IniFile::checkEditable(const Document &doc) const {
    // Edits append to the bytes until the next store; offsets are 32-bit, so a batch that
    // piled up a gigabyte of edits is refused long before they could overflow.
    if (doc.tooLarge || doc.bytes.size() > (qsizetype(1) << 30))
        throw IniWriteError(m_path, IniWriteError::Reason::TooLarge);
    if (doc.unreadable)
        throw IniWriteError(m_path);
}

void IniFile::change(Op op) {
    if (m_batches == 0) {
        locked([&] { return apply(*m_doc, op); });
        return;
    }
    // In a batch the edit shows in memory at once; unless the batch already works on a fresh
    // read under the lock, it is replayed on one at commit.
    Document &doc = load();
    checkEditable(doc);
    m_changed = apply(doc, op) || m_changed;
    if (!m_fresh)
        m_journal.push_back(std::move(op));
}

void IniFile::locked(const std::function<bool()> &edits) {
    QString why;
    bool busy = false;
    std::optional<FileLock> lock = FileLock::acquire(m_path, m_lockOptions, &why, &busy);
    try {
        reload(); // what the file holds now, not what we read earlier
        checkEditable(*m_doc);
        if (!lock) {
            // Nothing may be stored without the lock; edits that change nothing need no store.
            if (!edits())
                return;
            qCWarning(kalmo::lcSettings).noquote() << "Cannot lock" << m_path << ":" << why;
            throw IniWriteError(m_path, busy ? IniWriteError::Reason::Locked
                                             : IniWriteError::Reason::Refused);
        }
        if (edits() && m_doc)
            store(*m_doc, *lock);
    } catch (...) {
        m_doc.reset(); // memory goes back to what the disk holds
        throw;
    }
}

void IniFile::update(const std::function<void()> &fn) {
    if (m_batches > 0) {
        fn(); // joins the open batch, and is stored with it
        return;
    }
    locked([&] {
        ++m_batches;
        m_fresh = true;
        m_changed = false;
        const auto done = qScopeGuard([&] {
            --m_batches;
            m_fresh = false;
            m_journal.clear();
        });
        fn();
        return m_changed;
    });
}

void IniFile::setLockOptions(const FileLock::Options &options) {
    m_lockOptions = options;
}

void IniFile::store(Document &doc, const FileLock &lock) {
    if (doc.tooLarge || doc.unreadable)
        throw IniWriteError(m_path, doc.tooLarge ? IniWriteError::Reason::TooLarge
                                                 : IniWriteError::Reason::Refused);
    // A read-only file stays untouched even though its folder would let us replace it (and
    // even for root, who may write anything: the mark is the administrator's intent). One
    // stat and one access: on a share each is a round trip.
    const QByteArray native = QFile::encodeName(m_path);
    struct stat st {};
    if (::stat(native.constData(), &st) == 0 &&
        (!S_ISREG(st.st_mode) || !(st.st_mode & 0222) || ::access(native.constData(), W_OK) != 0))
        throw IniWriteError(m_path);
    QByteArray bytes = serialize(doc);
    if (bytes.size() > kMaxIniFileBytes) {
        // It could never be read back.
        logTooLarge(m_path, bytes.size());
        throw IniWriteError(m_path, IniWriteError::Reason::TooLarge);
    }
    // A damaged file read as UTF-8 by a narrow margin could read as the code page once a write
    // took some of its text away, garbling every other line: such a write is refused.
    if (const TextEncoding after = detectEncoding(bytes);
        after != doc.encoding && decodeBytes(bytes.constData(), bytes.size(), after) !=
                                     decodeBytes(bytes.constData(), bytes.size(), doc.encoding)) {
        qCWarning(kalmo::lcSettings).noquote()
            << "a write would change how" << m_path << "reads; the file is left as it is";
        throw IniWriteError(m_path);
    }
    QSaveFile out(m_path);
    out.setDirectWriteFallback(false);
    if (!out.open(QIODevice::WriteOnly))
        throw IniWriteError(m_path);
    if (out.write(bytes) != bytes.size())
        throw IniWriteError(m_path);
    // A writer that stalled (a hung share) may have had its lock taken over as stale: then
    // another writer's file may be newer than what we read, and ours must not replace it.
    if (!lock.stillHeld()) {
        qCWarning(kalmo::lcSettings).noquote()
            << "the lock on" << m_path << "was taken over while writing; nothing is stored";
        out.cancelWriting();
        throw IniWriteError(m_path, IniWriteError::Reason::Locked);
    }
    if (!out.commit())
        throw IniWriteError(m_path);
    rebase(doc, std::move(bytes));
    doc.state = statPath(QFile::encodeName(m_path));
    doc.status = IniReadStatus::Ok;
}

IniFile::Batch::Batch(IniFile &ini) : m_ini(ini) {
    m_ini.load();
    if (m_ini.m_batches++ == 0) {
        m_ini.m_changed = false;
        m_ini.m_journal.clear();
    }
}

IniFile::Batch::~Batch() {
    if (m_done)
        return;
    --m_ini.m_batches;
    m_ini.m_doc.reset(); // discard what was not committed
    m_ini.m_journal.clear();
}

void IniFile::Batch::commit() {
    m_done = true;
    if (--m_ini.m_batches > 0)
        return; // the outermost batch stores
    std::vector<Op> journal = std::move(m_ini.m_journal);
    m_ini.m_journal.clear();
    if (!m_ini.m_doc)
        return; // an inner batch was dropped: nothing left to store
    m_ini.locked([&] {
        // Replayed on what the file holds now: another writer's keys meanwhile stay.
        bool changed = false;
        for (const Op &op : journal)
            changed = m_ini.apply(*m_ini.m_doc, op) || changed;
        return changed;
    });
}

QString IniFile::readString(const QString &section, const QString &key,
                            const QString &defaultValue) const {
    const Document &doc = load();
    const qsizetype line = findKey(doc, findSection(doc, section), key);
    return line < 0 ? defaultValue : doc.value(doc.lines[size_t(line)]);
}

int IniFile::readInteger(const QString &section, const QString &key, int defaultValue) const {
    const QString v = readString(section, key, QString());
    if (v.isEmpty())
        return defaultValue;
    return parseInt(v).value_or(defaultValue);
}

bool IniFile::readBool(const QString &section, const QString &key, bool defaultValue) const {
    return readInteger(section, key, defaultValue ? 1 : 0) != 0;
}

bool IniFile::sectionExists(const QString &section) const {
    return findSection(load(), section) >= 0;
}

bool IniFile::valueExists(const QString &section, const QString &key) const {
    const Document &doc = load();
    return findKey(doc, findSection(doc, section), key) >= 0;
}

QStringList IniFile::sections() const {
    const Document &doc = load();
    QStringList out;
    out.reserve(qsizetype(doc.headers.size()));
    for (const qsizetype h : doc.headers)
        out << doc.sectionName(doc.lines[size_t(h)]);
    return out;
}

QStringList IniFile::keys(const QString &section) const {
    const Document &doc = load();
    QStringList out;
    const qsizetype s = findSection(doc, section);
    if (s < 0)
        return out;
    const auto [b, e] = doc.body(s);
    for (qsizetype i = b; i < e; ++i)
        if (doc.lines[size_t(i)].kind == Kind::Key)
            out << doc.keyName(doc.lines[size_t(i)]);
    return out;
}

void IniFile::writeString(const QString &section, const QString &key, const QString &value) {
    change({Op::Kind::Write, section, key, value});
}

bool IniFile::apply(Document &doc, const Op &op) {
    switch (op.kind) {
    case Op::Kind::Write:
        return applyWrite(doc, op.section, op.key, op.value);
    case Op::Kind::DeleteKey:
        return applyDelete(doc, op.section, op.key);
    case Op::Kind::EraseSection:
        return applyErase(doc, op.section);
    }
    return false;
}

bool IniFile::applyWrite(Document &doc, const QString &section, const QString &key,
                         const QString &value) {
    // Values are one line of text.
    QString clean = value;
    clean.replace(u'\r', u' ').replace(u'\n', u' ');

    // UTF-16 that ends in half a code unit: a line after it would be read out of step, and
    // the half unit is not ours to drop.
    const bool halfUnitAtEnd = doc.width == 2 && !doc.lines.empty() && doc.lines.back().size % 2;
    const auto refuseAppendAtEnd = [&] {
        qCWarning(kalmo::lcSettings).noquote()
            << m_path << "ends in half a UTF-16 character: nothing is added after it";
        throw IniWriteError(m_path);
    };
    qsizetype s = findSection(doc, section);
    if (s < 0) {
        if (halfUnitAtEnd)
            refuseAppendAtEnd();
        // Keep a blank line between sections, as profile writers do.
        if (!doc.lines.empty() && !doc.isBlank(doc.lines.back()))
            insertLine(doc, qsizetype(doc.lines.size()), newLine(doc, QString(), Kind::Other));
        const qsizetype at = qsizetype(doc.lines.size());
        insertLine(doc, at, newLine(doc, '[' + section + ']', Kind::Header));
        s = qsizetype(doc.headers.size());
        doc.headers.push_back(at);
        const std::pair entry{nameHash(section), s};
        doc.index.insert(std::upper_bound(doc.index.begin(), doc.index.end(), entry), entry);
    }
    if (const qsizetype found = findKey(doc, s, key); found >= 0) {
        Line &l = doc.lines[size_t(found)];
        const qsizetype prefix = (doc.equals(l) + 1) * doc.width;
        if (doc.decode(l.start + prefix, l.size - prefix).trimmed() == clean.trimmed())
            return false; // reads the same already: the line keeps its bytes, the file stays as is
        // The name and its blanks stay as written; only the value changes.
        const QByteArray bytes = doc.bytes.mid(l.start, prefix) + encodeFor(doc, clean);
        l.start = appendBytes(doc, bytes);
        l.size = quint32(bytes.size());
        l.moved = true;
    } else {
        // After the last non-blank line of the section.
        auto [b, e] = doc.body(s);
        while (e > b && doc.isBlank(doc.lines[size_t(e - 1)]))
            --e;
        if (halfUnitAtEnd && e == qsizetype(doc.lines.size()))
            refuseAppendAtEnd();
        insertLine(doc, e, newLine(doc, key + '=' + clean, Kind::Key));
    }
    return true;
}

void IniFile::writeInteger(const QString &section, const QString &key, int value) {
    writeString(section, key, QString::number(value));
}

void IniFile::writeBool(const QString &section, const QString &key, bool value) {
    writeString(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}

void IniFile::deleteKey(const QString &section, const QString &key) {
    change({Op::Kind::DeleteKey, section, key, {}});
}

bool IniFile::applyDelete(Document &doc, const QString &section, const QString &key) {
    const qsizetype s = findSection(doc, section);
    if (s < 0)
        return false;
    const bool ascii = isAscii(key);
    const auto [b, e] = doc.body(s);
    const auto first = doc.lines.begin() + b, last = doc.lines.begin() + e;
    const auto kept = std::remove_if(first, last, [&](const Line &l) {
        return l.kind == Kind::Key && doc.keyIs(l, key, ascii);
    });
    const qsizetype removed = last - kept;
    if (removed == 0)
        return false;
    doc.lines.erase(kept, last);
    for (size_t i = size_t(s) + 1; i < doc.headers.size(); ++i)
        doc.headers[i] -= removed;
    return true;
}

void IniFile::eraseSection(const QString &section) {
    change({Op::Kind::EraseSection, section, {}, {}});
}

bool IniFile::applyErase(Document &doc, const QString &section) {
    if (findSection(doc, section) < 0)
        return false;
    // Every section of that name goes, header and body.
    std::vector<Line> kept;
    kept.reserve(doc.lines.size());
    bool erasing = false;
    for (const Line &l : doc.lines) {
        if (l.kind == Kind::Header)
            erasing = doc.sectionName(l).compare(section, Qt::CaseInsensitive) == 0;
        if (!erasing)
            kept.push_back(l);
    }
    doc.lines = std::move(kept);
    reindex(doc);
    return true;
}

TextEncoding IniFile::encoding() const {
    return load().encoding;
}

bool IniFile::isTooLarge() const {
    return load().tooLarge;
}

IniReadStatus IniFile::readStatus() const {
    return load().status;
}

QString IniFile::readError() const {
    return load().error;
}

QString folderOf(const QString &filePath) {
    const qsizetype slash = filePath.lastIndexOf(u'/');
    return slash < 0 ? QString() : filePath.left(slash + 1);
}

} // namespace kalmo::core

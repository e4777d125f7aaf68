#include "core/ini_file.h"

#include "core/strict_int.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <vector>

namespace kalmo::core {

IniWriteError::IniWriteError(const QString &path)
    : std::runtime_error(("Unable to write to " + path).toStdString()), m_path(path) {}

// One line of the file. Key lines carry their parsed key; other lines are kept verbatim.
struct Line {
    QString raw;
    QString key; // empty for lines that are not key lines
    QString value;
    bool isKey() const { return !key.isEmpty(); }
};

struct Section {
    QString name;   // empty for the lines before the first header
    QString header; // the header line as written
    std::vector<Line> lines;
};

struct IniFile::Document {
    std::vector<Section> sections; // sections[0] is the headerless preamble
    TextEncoding encoding = TextEncoding::Utf8;
    QString newline = QStringLiteral("\r\n");
    // Identity of the file state this was parsed from.
    bool exists = false;
    QDateTime modified;
    qint64 size = -1;
    QDateTime changed; // metadata change time: catches a same-size rewrite within one mtime tick

    Section *find(const QString &name) {
        for (size_t i = 1; i < sections.size(); ++i)
            if (sections[i].name.compare(name, Qt::CaseInsensitive) == 0)
                return &sections[i];
        return nullptr;
    }
    const Section *find(const QString &name) const {
        return const_cast<Document *>(this)->find(name);
    }
    static Line *findKey(Section &s, const QString &key) {
        for (Line &l : s.lines)
            if (l.isKey() && l.key.compare(key, Qt::CaseInsensitive) == 0)
                return &l;
        return nullptr;
    }
};

namespace {

using Document = IniFile::Document;

void parse(const QString &text, Document &doc) {
    doc.sections.clear();
    doc.sections.push_back(Section{});
    const qsizetype firstNl = text.indexOf(u'\n');
    doc.newline = (firstNl > 0 && text[firstNl - 1] == u'\r') || firstNl < 0
                      ? QStringLiteral("\r\n")
                      : QStringLiteral("\n");
    qsizetype pos = 0;
    const qsizetype n = text.size();
    while (pos < n) {
        qsizetype end = text.indexOf(u'\n', pos);
        if (end < 0)
            end = n;
        qsizetype lineEnd = end;
        if (lineEnd > pos && text[lineEnd - 1] == u'\r')
            --lineEnd;
        const QString raw = text.mid(pos, lineEnd - pos);
        pos = end + 1;

        const QString t = raw.trimmed();
        if (t.startsWith(u'[')) {
            qsizetype close = t.indexOf(u']');
            Section s;
            s.name = (close < 0 ? t.mid(1) : t.mid(1, close - 1)).trimmed();
            s.header = raw;
            doc.sections.push_back(std::move(s));
            continue;
        }
        Line line{raw, {}, {}};
        const qsizetype eq = raw.indexOf(u'=');
        if (eq > 0) {
            line.key = raw.left(eq).trimmed();
            line.value = raw.mid(eq + 1).trimmed();
        }
        doc.sections.back().lines.push_back(std::move(line));
    }
}

QString serialize(const Document &doc) {
    QString out;
    auto put = [&](const QString &line) {
        out += line;
        out += doc.newline;
    };
    for (size_t i = 0; i < doc.sections.size(); ++i) {
        const Section &s = doc.sections[i];
        if (i > 0)
            put(s.header);
        for (const Line &l : s.lines)
            put(l.raw);
    }
    return out;
}

void stamp(const QString &path, Document &doc) {
    QFileInfo fi(path);
    doc.exists = fi.exists() && fi.isFile();
    doc.modified = doc.exists ? fi.lastModified() : QDateTime();
    doc.size = doc.exists ? fi.size() : -1;
    doc.changed = doc.exists ? fi.metadataChangeTime() : QDateTime();
}

bool sameState(const QString &path, const Document &doc) {
    Document probe;
    stamp(path, probe);
    return probe.exists == doc.exists && probe.modified == doc.modified && probe.size == doc.size &&
           probe.changed == doc.changed;
}

} // namespace

IniFile::IniFile(QString path, Mode mode) : m_path(std::move(path)), m_mode(mode) {
    if (m_mode == Mode::Snapshot)
        load();
}

IniFile::~IniFile() = default;
IniFile::IniFile(IniFile &&) noexcept = default;
IniFile &IniFile::operator=(IniFile &&) noexcept = default;

const IniFile::Document &IniFile::load() const {
    if (m_doc && (m_mode == Mode::Snapshot || sameState(m_path, *m_doc)))
        return *m_doc;
    auto doc = std::make_unique<Document>();
    stamp(m_path, *doc);
    QFile f(m_path);
    if (doc->exists && f.open(QIODevice::ReadOnly)) {
        const DecodedText decoded = decodeText(f.readAll());
        doc->encoding = decoded.encoding;
        parse(decoded.text, *doc);
    } else {
        doc->exists = false;
        doc->sections.push_back(Section{});
    }
    m_doc = std::move(doc);
    return *m_doc;
}

void IniFile::store(Document &doc) {
    QFileInfo fi(m_path);
    // A read-only file stays untouched even though its folder would let us replace it (and
    // even for root, who may write anything: the mark is the administrator's intent).
    constexpr auto anyWrite = QFile::WriteOwner | QFile::WriteGroup | QFile::WriteOther;
    if (fi.exists() && (!fi.isFile() || !fi.isWritable() || !(fi.permissions() & anyWrite)))
        throw IniWriteError(m_path);
    QSaveFile out(m_path);
    out.setDirectWriteFallback(false);
    if (!out.open(QIODevice::WriteOnly))
        throw IniWriteError(m_path);
    const QByteArray bytes = encodeText(serialize(doc), doc.encoding);
    if (out.write(bytes) != bytes.size() || !out.commit())
        throw IniWriteError(m_path);
    stamp(m_path, doc);
}

void IniFile::apply(Document &doc) {
    if (m_batches == 0)
        store(doc);
    *m_doc = std::move(doc);
}

IniFile::Batch::Batch(IniFile &ini) : m_ini(ini) {
    m_ini.load();
    ++m_ini.m_batches;
}

IniFile::Batch::~Batch() {
    if (m_done)
        return;
    --m_ini.m_batches;
    m_ini.m_doc.reset(); // discard what was not committed
}

void IniFile::Batch::commit() {
    m_done = true;
    if (--m_ini.m_batches > 0)
        return; // the outermost batch stores
    try {
        m_ini.store(*m_ini.m_doc);
    } catch (...) {
        m_ini.m_doc.reset(); // memory goes back to what the disk holds
        throw;
    }
}

QString IniFile::readString(const QString &section, const QString &key,
                            const QString &defaultValue) const {
    const Document &doc = load();
    const Section *s = doc.find(section);
    if (!s)
        return defaultValue;
    for (const Line &l : s->lines)
        if (l.isKey() && l.key.compare(key, Qt::CaseInsensitive) == 0)
            return l.value;
    return defaultValue;
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
    return load().find(section) != nullptr;
}

bool IniFile::valueExists(const QString &section, const QString &key) const {
    const Document &doc = load();
    const Section *s = doc.find(section);
    if (!s)
        return false;
    for (const Line &l : s->lines)
        if (l.isKey() && l.key.compare(key, Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

QStringList IniFile::sections() const {
    QStringList out;
    const Document &doc = load();
    for (size_t i = 1; i < doc.sections.size(); ++i)
        out << doc.sections[i].name;
    return out;
}

QStringList IniFile::keys(const QString &section) const {
    QStringList out;
    const Document &doc = load();
    if (const Section *s = doc.find(section))
        for (const Line &l : s->lines)
            if (l.isKey())
                out << l.key;
    return out;
}

void IniFile::writeString(const QString &section, const QString &key, const QString &value) {
    load();
    // Work on a copy so that a refused write leaves memory as the file is.
    Document doc = *m_doc;
    Section *s = doc.find(section);
    if (!s) {
        // Keep a blank line between sections, as profile writers do.
        Section &last = doc.sections.back();
        if (doc.sections.size() > 1 || !last.lines.empty())
            if (last.lines.empty() || !last.lines.back().raw.trimmed().isEmpty())
                last.lines.push_back(Line{});
        Section ns;
        ns.name = section;
        ns.header = '[' + section + ']';
        doc.sections.push_back(std::move(ns));
        s = &doc.sections.back();
    }
    // Values are one line of text.
    QString clean = value;
    clean.replace(u'\r', u' ').replace(u'\n', u' ');
    if (Line *l = Document::findKey(*s, key)) {
        l->value = clean.trimmed();
        l->raw = l->key + '=' + clean;
    } else {
        // After the last non-blank line of the section.
        auto it = s->lines.end();
        while (it != s->lines.begin() && std::prev(it)->raw.trimmed().isEmpty())
            --it;
        s->lines.insert(it, Line{key + '=' + clean, key, clean.trimmed()});
    }
    apply(doc);
}

void IniFile::writeInteger(const QString &section, const QString &key, int value) {
    writeString(section, key, QString::number(value));
}

void IniFile::writeBool(const QString &section, const QString &key, bool value) {
    writeString(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}

void IniFile::deleteKey(const QString &section, const QString &key) {
    load();
    Document doc = *m_doc;
    Section *s = doc.find(section);
    if (!s)
        return;
    const auto before = s->lines.size();
    std::erase_if(s->lines, [&](const Line &l) {
        return l.isKey() && l.key.compare(key, Qt::CaseInsensitive) == 0;
    });
    if (s->lines.size() == before)
        return;
    apply(doc);
}

void IniFile::eraseSection(const QString &section) {
    load();
    Document doc = *m_doc;
    const auto before = doc.sections.size();
    std::erase_if(doc.sections, [&](const Section &s) {
        return !s.header.isNull() && s.name.compare(section, Qt::CaseInsensitive) == 0;
    });
    if (doc.sections.size() == before)
        return;
    apply(doc);
}

TextEncoding IniFile::encoding() const {
    return load().encoding;
}

QString folderOf(const QString &filePath) {
    const qsizetype slash = filePath.lastIndexOf(u'/');
    return slash < 0 ? QString() : filePath.left(slash + 1);
}

} // namespace kalmo::core

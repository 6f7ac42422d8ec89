#include "LanguagePack.h"

#include "Texts.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QRegularExpression>
#include <QSet>
#include <QStringDecoder>
#include <QTranslator>

#include <memory>

namespace {

std::unique_ptr<TLanguagePack>& Loaded() {
    static std::unique_ptr<TLanguagePack> pack;
    return pack;
}

QString& ProgramOverride() {
    static QString path;
    return path;
}

std::unique_ptr<QTranslator>& QtTranslator() {
    static std::unique_ptr<QTranslator> translator;
    return translator;
}

void Fail(QString* why, const QString& reason) {
    if (why) *why = reason;
}

// Backslash escapes as QSettings writes them: \n, \t, \r, \\, \", \'; any other escaped
// character stands for itself.
QString Unescape(QStringView text) {
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c != QLatin1Char('\\') || i + 1 == text.size()) {
            out += c;
            continue;
        }
        const QChar next = text[++i];
        switch (next.unicode()) {
        case 'n':
            out += QLatin1Char('\n');
            break;
        case 't':
            out += QLatin1Char('\t');
            break;
        case 'r':
            out += QLatin1Char('\r');
            break;
        default:
            out += next;
            break;
        }
    }
    return out;
}

// A value after "=": quoted (everything up to the closing quote, escapes taken) or plain (up to
// a ";" comment, trimmed). Nothing for a quote that is never closed.
std::optional<QString> ParseValue(QStringView raw) {
    raw = raw.trimmed();
    if (!raw.startsWith(QLatin1Char('"'))) {
        const qsizetype comment = raw.indexOf(QLatin1Char(';'));
        return Unescape(comment < 0 ? raw : raw.left(comment).trimmed());
    }
    for (qsizetype i = 1; i < raw.size(); ++i) {
        if (raw[i] == QLatin1Char('\\')) {
            ++i;
            continue;
        }
        if (raw[i] == QLatin1Char('"')) return Unescape(raw.mid(1, i - 1));
    }
    return std::nullopt;
}

// The "%1".."%99" markers of a text, which code fills in with QString::arg.
QSet<QString> Markers(const QString& text) {
    static const QRegularExpression marker(QStringLiteral("%[1-9][0-9]?"));
    QSet<QString> found;
    for (const QRegularExpressionMatch& m : marker.globalMatch(text))
        found.insert(m.captured());
    return found;
}

// The pack's [Texts] over the built-in table. An entry the pack lacks, leaves empty, or whose
// markers differ from the built-in ones (a message would lose its number or show "%2") keeps
// the built-in text.
void TakeTexts(const TLanguagePack& pack) {
    ResetTexts();
    const QHash<QString, QString>* texts = pack.Section(QStringLiteral("Texts"));
    if (!texts) return;
    for (auto it = texts->begin(); it != texts->end(); ++it) {
        bool number = false;
        const int id = it.key().toInt(&number);
        if (!number || it.value().isEmpty()) continue;
        const QString builtIn = BuiltInText(id);
        if (builtIn.isNull() || Markers(builtIn) != Markers(it.value())) continue;
        SetText(id, it.value());
    }
}

} // namespace

const QHash<QString, QString>* TLanguagePack::Section(const QString& name) const {
    const auto it = Sections.find(name);
    return it == Sections.end() ? nullptr : &*it;
}

QString PackCode(int lcid) {
    switch (lcid) {
    case 1028:
        return QStringLiteral("CHT");
    case 2052:
        return QStringLiteral("CHS");
    case 1033:
        return QStringLiteral("ENU");
    default:
        return QString();
    }
}

QStringList PackFileNames(const QString& programPath, const QString& code) {
    if (programPath.isEmpty() || code.isEmpty()) return {};
    const QFileInfo program(programPath);
    QString base = program.fileName();
    // A leading dot starts a hidden name, not an extension.
    const qsizetype dot = base.lastIndexOf(QLatin1Char('.'));
    if (dot > 0) base.truncate(dot);
    QStringList names;
    // Beside the program (a build), then the installed data folder, found from the program's
    // folder so that an installed tree works wherever it was put.
    for (const QString& folder :
         {program.path(), QDir::cleanPath(program.path() + QStringLiteral("/" VELITRA_PACK_DIR))}) {
        const QString stem = folder + QLatin1Char('/') + base + QLatin1Char('.');
        names << stem + code;
        if (code.size() > 2) names << stem + code.left(2);
    }
    return names;
}

std::optional<TLanguagePack> ParseLanguagePack(const QByteArray& bytes, QString* why) {
    if (bytes.size() > kLargestPack) {
        Fail(why, QStringLiteral("larger than 1 MB"));
        return std::nullopt;
    }
    if (bytes.contains('\0')) {
        Fail(why, QStringLiteral("not text"));
        return std::nullopt;
    }
    QStringDecoder decoder(QStringDecoder::Utf8);
    const QString text = decoder.decode(bytes);
    if (decoder.hasError()) {
        Fail(why, QStringLiteral("not UTF-8"));
        return std::nullopt;
    }

    TLanguagePack pack;
    QHash<QString, QString>* section = nullptr;
    for (QStringView line : QStringView(text).split(QLatin1Char('\n'))) {
        line = line.trimmed();
        if (line.startsWith(QChar(0xFEFF))) line = line.mid(1).trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char(';')) ||
            line.startsWith(QLatin1Char('#')))
            continue;
        if (line.startsWith(QLatin1Char('['))) {
            const qsizetype close = line.indexOf(QLatin1Char(']'));
            const QString name =
                close < 0 ? QString() : line.mid(1, close - 1).trimmed().toString();
            // Keys under a broken heading belong to no window.
            section = name.isEmpty() ? nullptr : &pack.Sections[name];
            continue;
        }
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (!section || equals <= 0) continue;
        const QString key = line.left(equals).trimmed().toString();
        const std::optional<QString> value = ParseValue(line.mid(equals + 1));
        if (key.isEmpty() || !value) continue;
        section->insert(key, *value);
    }
    return pack;
}

std::optional<TLanguagePack> ReadLanguagePack(const QString& path, QString* why) {
    const QFileInfo info(path);
    // A device, a pipe or a folder of that name is no pack, and opening a pipe would wait.
    if (!info.exists()) {
        Fail(why, QStringLiteral("missing"));
        return std::nullopt;
    }
    if (!info.isFile()) {
        Fail(why, QStringLiteral("not a file"));
        return std::nullopt;
    }
    if (info.size() > kLargestPack) {
        Fail(why, QStringLiteral("larger than 1 MB"));
        return std::nullopt;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        Fail(why, file.errorString());
        return std::nullopt;
    }
    // Read one byte past the limit, in case the file grew since it was measured.
    std::optional<TLanguagePack> pack = ParseLanguagePack(file.read(kLargestPack + 1), why);
    if (pack) pack->FileName = path;
    return pack;
}

void SetPackProgram(const QString& programPath) {
    ProgramOverride() = programPath;
}

QString PackProgram() {
    if (!ProgramOverride().isEmpty()) return ProgramOverride();
    return QCoreApplication::instance() ? QCoreApplication::applicationFilePath() : QString();
}

const TLanguagePack* LoadNewResourceModule(int lcid, const QString& programPath) {
    const QString program = programPath.isEmpty() ? PackProgram() : programPath;
    for (const QString& name : PackFileNames(program, PackCode(lcid))) {
        std::optional<TLanguagePack> pack = ReadLanguagePack(name);
        if (!pack) continue;
        pack->Lcid = lcid;
        Loaded() = std::make_unique<TLanguagePack>(std::move(*pack));
        TakeTexts(*Loaded());
        return Loaded().get();
    }
    return nullptr;
}

const TLanguagePack* CurrentPack() {
    return Loaded().get();
}

void UnloadLanguagePack() {
    Loaded().reset();
    ResetTexts();
}

int InterfaceLcid() {
    return Loaded() ? Loaded()->Lcid : 1028;
}

bool InstallQtTranslations(int lcid) {
    if (QtTranslator()) {
        QCoreApplication::removeTranslator(QtTranslator().get());
        QtTranslator().reset();
    }
    QString locale;
    switch (lcid) {
    case 1028:
        locale = QStringLiteral("zh_TW");
        break;
    case 2052:
        locale = QStringLiteral("zh_CN");
        break;
    case 1033:
        locale = QStringLiteral("en");
        break;
    default:
        return false;
    }
    auto translator = std::make_unique<QTranslator>();
    if (!QCoreApplication::instance() ||
        !translator->load(QStringLiteral("qtbase_") + locale,
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        return false;
    QCoreApplication::installTranslator(translator.get());
    QtTranslator() = std::move(translator);
    return true;
}

QString PackValueText(const QString& value) {
    const bool plain = value == value.trimmed() && !value.startsWith(QLatin1Char('"')) &&
                       !value.contains(QLatin1Char('\\')) && !value.contains(QLatin1Char('\n')) &&
                       !value.contains(QLatin1Char('\r')) && !value.contains(QLatin1Char('\t')) &&
                       !value.contains(QLatin1Char(';'));
    if (plain) return value;
    QString out = QStringLiteral("\"");
    for (const QChar c : value) {
        switch (c.unicode()) {
        case '\\':
            out += QLatin1String("\\\\");
            break;
        case '"':
            out += QLatin1String("\\\"");
            break;
        case '\n':
            out += QLatin1String("\\n");
            break;
        case '\r':
            out += QLatin1String("\\r");
            break;
        case '\t':
            out += QLatin1String("\\t");
            break;
        default:
            out += c;
        }
    }
    return out + QLatin1Char('"');
}

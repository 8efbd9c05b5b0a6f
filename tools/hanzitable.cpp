// Build-time tool: turns the Unihan readings and variants into the compact
// table the vault's find reads from its resources.
//
//   hanzitable <Unihan_Readings.txt> <Unihan_Variants.txt> <output>
//
// The table (QDataStream, Qt 6.4 format):
//   quint32 magic "NHZ1"
//   quint32 syllable count, then each toneless syllable as a QByteArray (a-z)
//   quint32 reading-set count, then each set as a quint8 count and its syllable numbers (quint16)
//   quint32 character count, then (quint32 code point, quint16 set number) sorted by code point
//   quint32 fold count, then (quint32 code point, quint32 code point it is found as) sorted
// Characters that are simplified or traditional forms of one another are
// found as one: each is folded to one form, and that form carries the
// readings of every character folded to it.
#include <QByteArray>
#include <QCoreApplication>
#include <QDataStream>
#include <QFile>
#include <QMap>
#include <QSaveFile>
#include <QStringList>
#include <QTextStream>

#include <cstdio>
#include <functional>
#include <map>
#include <set>
#include <vector>

namespace {

constexpr quint32 magic = 0x4e485a31;

bool readLines(const QString &path, const std::function<void(char32_t, const QString &, const QString &)> &take)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        std::fprintf(stderr, "hanzitable: cannot read %s\n", qPrintable(path));
        return false;
    }
    QTextStream in(&file);
    in.setEncoding(QStringConverter::Utf8);
    QString line;
    while (in.readLineInto(&line)) {
        if (!line.startsWith(QLatin1String("U+")))
            continue;
        const QStringList fields = line.split(QLatin1Char('\t'));
        if (fields.size() < 3)
            continue;
        bool ok = false;
        const char32_t code = fields[0].mid(2).toUInt(&ok, 16);
        if (ok)
            take(code, fields[1], fields[2]);
    }
    return true;
}

char32_t codePoint(const QString &field)
{
    bool ok = false;
    const char32_t code = field.startsWith(QLatin1String("U+")) ? field.mid(2).toUInt(&ok, 16) : 0;
    return ok ? code : 0;
}

// A reading without its tones, as typed on a Latin keyboard: "lǜ" is typed
// both "lv" and "lu"; empty when the reading holds anything else.
QStringList toneless(const QString &reading)
{
    QString plain;
    bool umlaut = false;
    for (const QChar c : reading.normalized(QString::NormalizationForm_D).toLower()) {
        if (c == QChar(0x0308))
            umlaut = true;
        else if (c.unicode() >= 'a' && c.unicode() <= 'z')
            plain += c;
        else if (c.category() != QChar::Mark_NonSpacing)
            return {};
    }
    if (plain.isEmpty())
        return {};
    if (!umlaut)
        return {plain};
    QString typed = plain;
    const int u = plain.lastIndexOf(QLatin1Char('u'));
    if (u >= 0)
        typed[u] = QLatin1Char('v');
    return {typed, plain};
}

// The readings of one field's value: "20811.060:háng,xìng 0442.080:háng" or "xíng zhòng".
QStringList readingsOf(const QString &value)
{
    QStringList readings;
    for (const QString &group : value.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        const int colon = group.indexOf(QLatin1Char(':'));
        for (const QString &reading : group.mid(colon + 1).split(QLatin1Char(','), Qt::SkipEmptyParts))
            readings += toneless(reading);
    }
    return readings;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 4) {
        std::fprintf(stderr, "usage: hanzitable <Unihan_Readings.txt> <Unihan_Variants.txt> <output>\n");
        return 2;
    }

    std::map<char32_t, std::set<QString>> readings;
    const bool readingsRead = readLines(args[1], [&](char32_t code, const QString &field, const QString &value) {
        if (field == QLatin1String("kHanyuPinyin") || field == QLatin1String("kXHC1983")
            || field == QLatin1String("kMandarin")) {
            for (const QString &reading : readingsOf(value))
                readings[code].insert(reading);
        }
    });
    // From each traditional form to its simplified one; where the file names
    // only the other direction, that serves too.
    std::map<char32_t, char32_t> fold;
    std::vector<std::pair<char32_t, char32_t>> traditional;
    const bool variantsRead = readLines(args[2], [&](char32_t code, const QString &field, const QString &value) {
        const QStringList targets = value.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        if (field == QLatin1String("kSimplifiedVariant")) {
            for (const QString &target : targets) {
                const char32_t simplified = codePoint(target);
                if (simplified && simplified != code) {
                    fold.emplace(code, simplified);
                    break;
                }
            }
        } else if (field == QLatin1String("kTraditionalVariant")) {
            for (const QString &target : targets) {
                const char32_t other = codePoint(target);
                if (other && other != code)
                    traditional.emplace_back(other, code);
            }
        }
    });
    if (!readingsRead || !variantsRead)
        return 1;
    for (const auto &[from, to] : traditional)
        fold.emplace(from, to);
    // Followed to its end, so that a character and its fold are found as one;
    // a cycle ends at its smallest member.
    std::map<char32_t, char32_t> folded;
    for (const auto &entry : fold) {
        char32_t at = entry.first;
        std::set<char32_t> seen;
        while (fold.count(at) && seen.insert(at).second)
            at = fold.at(at);
        if (seen.count(at))
            at = *seen.begin();
        if (at != entry.first)
            folded[entry.first] = at;
    }
    // Each folded form reads as every character folded to it.
    std::map<char32_t, std::set<QString>> canonical;
    for (const auto &[code, spoken] : readings) {
        const auto target = folded.find(code);
        canonical[target == folded.end() ? code : target->second].insert(spoken.begin(), spoken.end());
    }

    QMap<QString, quint16> syllableIds;
    for (const auto &entry : canonical)
        for (const QString &syllable : entry.second)
            syllableIds.insert(syllable, 0);
    QStringList syllables = syllableIds.keys();
    for (int i = 0; i < syllables.size(); ++i)
        syllableIds[syllables[i]] = quint16(i);
    std::map<std::vector<quint16>, quint16> setIds;
    std::vector<std::vector<quint16>> sets;
    std::vector<std::pair<char32_t, quint16>> characters;
    for (const auto &[code, spoken] : canonical) {
        std::vector<quint16> set;
        for (const QString &syllable : spoken)
            set.push_back(syllableIds.value(syllable));
        auto found = setIds.find(set);
        if (found == setIds.end()) {
            found = setIds.emplace(set, quint16(sets.size())).first;
            sets.push_back(set);
        }
        characters.emplace_back(code, found->second);
    }
    if (syllables.size() > 0xffff || sets.size() > 0xffff) {
        std::fprintf(stderr, "hanzitable: too many syllables or reading sets\n");
        return 1;
    }

    QSaveFile out(args[3]);
    if (!out.open(QIODevice::WriteOnly)) {
        std::fprintf(stderr, "hanzitable: cannot write %s\n", qPrintable(args[3]));
        return 1;
    }
    QDataStream stream(&out);
    stream.setVersion(QDataStream::Qt_6_4);
    stream << magic << quint32(syllables.size());
    for (const QString &syllable : syllables)
        stream << syllable.toLatin1();
    stream << quint32(sets.size());
    for (const auto &set : sets) {
        stream << quint8(set.size());
        for (const quint16 id : set)
            stream << id;
    }
    stream << quint32(characters.size());
    for (const auto &[code, set] : characters)
        stream << quint32(code) << set;
    stream << quint32(folded.size());
    for (const auto &[from, to] : folded)
        stream << quint32(from) << quint32(to);
    if (stream.status() != QDataStream::Ok || !out.commit()) {
        std::fprintf(stderr, "hanzitable: cannot write %s\n", qPrintable(args[3]));
        return 1;
    }
    std::printf("hanzitable: %d syllables, %d reading sets, %d characters, %d folds\n", int(syllables.size()),
                int(sets.size()), int(characters.size()), int(folded.size()));
    return 0;
}

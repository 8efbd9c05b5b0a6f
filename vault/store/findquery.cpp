#include "store/findquery.h"

#include "store/hanzitable.h"

#include <algorithm>

namespace {

void appendUtf8(std::string &out, char32_t code)
{
    if (code < 0x800) {
        out.push_back(char(0xc0 | (code >> 6)));
    } else {
        if (code < 0x10000) {
            out.push_back(char(0xe0 | (code >> 12)));
        } else {
            out.push_back(char(0xf0 | (code >> 18)));
            out.push_back(char(0x80 | ((code >> 12) & 0x3f)));
        }
        out.push_back(char(0x80 | ((code >> 6) & 0x3f)));
    }
    out.push_back(char(0x80 | (code & 0x3f)));
}

} // namespace

FindQuery::FindQuery(const QString &text)
{
    fold(text, needle);
    // A NUL ends each text in the index; no stored text is found by one.
    needle.erase(std::remove(needle.begin(), needle.end(), '\0'), needle.end());
    const HanziTable &table = HanziTable::instance();
    const int n = int(needle.size());
    const bool latin = std::all_of(needle.begin(), needle.end(), [](char c) { return c >= 'a' && c <= 'z'; });
    if (n == 0 || n > longestPinyin || !latin || !table.isLoaded())
        return;
    acceptBit = quint64(1) << n;
    firstLetter = HanziTable::letterBit(needle[0]);
    for (int p = 0; p < n; ++p) {
        letters |= HanziTable::letterBit(needle[p]);
        letterFrom[needle[p] - 'a'] |= quint64(1) << p;
    }
    const std::vector<QByteArray> &syllables = table.syllables();
    wholeFrom.assign(syllables.size(), 0);
    twoLetterFrom.assign(syllables.size(), 0);
    endsInside.assign(syllables.size(), 0);
    syllableLength.assign(syllables.size(), 0);
    initialFrom.assign(syllables.size(), 0);
    for (size_t s = 0; s < syllables.size(); ++s) {
        const QByteArray &syllable = syllables[s];
        const int length = int(syllable.size());
        syllableLength[s] = length;
        initialFrom[s] = letterFrom[syllable[0] - 'a'];
        const bool twoLetterInitial =
            length > 2 && syllable[1] == 'h' && (syllable[0] == 'z' || syllable[0] == 'c' || syllable[0] == 's');
        for (int p = 0; p < n; ++p) {
            const int left = n - p;
            if (left >= length && needle.compare(p, length, syllable.constData(), length) == 0)
                wholeFrom[s] |= quint64(1) << p;
            if (twoLetterInitial && left >= 2 && needle[p] == syllable[0] && needle[p + 1] == 'h')
                twoLetterFrom[s] |= quint64(1) << p;
            if (left < length && needle.compare(p, left, syllable.constData(), left) == 0)
                endsInside[s] |= quint64(1) << p;
        }
    }
}

bool FindQuery::matchesPinyin(const quint16 *sets, size_t count) const
{
    if (!acceptBit)
        return false;
    const HanziTable &table = HanziTable::instance();
    // Bit 0 is always set: a run may begin at any character.
    quint64 state = 1;
    for (size_t i = 0; i < count; ++i) {
        const quint16 set = sets[i];
        quint64 next = 0;
        for (const quint16 *s = table.syllablesBegin(set); s != table.syllablesEnd(set); ++s) {
            if (state & endsInside[*s])
                return true;
            next |= (state & wholeFrom[*s]) << syllableLength[*s];
            next |= (state & initialFrom[*s]) << 1;
            next |= (state & twoLetterFrom[*s]) << 2;
        }
        if (next & acceptBit)
            return true;
        state = next | 1;
    }
    return false;
}

bool FindQuery::matches(const QString &text) const
{
    std::string folded;
    std::vector<quint16> sets;
    const bool readable = fold(text, folded, hasPinyin() ? &sets : nullptr);
    if (folded.find(needle) != std::string::npos)
        return true;
    return readable && matchesPinyin(sets.data(), sets.size());
}

bool FindQuery::fold(const QString &text, std::string &out, std::vector<quint16> *sets)
{
    const HanziTable &table = HanziTable::instance();
    bool readable = false;
    const char16_t *units = reinterpret_cast<const char16_t *>(text.utf16());
    const qsizetype size = text.size();
    for (qsizetype i = 0; i < size; ++i) {
        char32_t code = units[i];
        if (code < 0x80) {
            out.push_back(char(code >= 'A' && code <= 'Z' ? code + 32 : code));
            if (sets)
                sets->push_back(0);
            continue;
        }
        if (QChar::isHighSurrogate(code) && i + 1 < size && QChar::isLowSurrogate(units[i + 1]))
            code = QChar::surrogateToUcs4(char16_t(code), units[++i]);
        code = table.fold(QChar::toCaseFolded(code));
        appendUtf8(out, code);
        if (sets) {
            const quint16 set = table.readingSet(code);
            readable = readable || set;
            sets->push_back(set);
        }
    }
    return readable;
}

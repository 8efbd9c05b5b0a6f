#ifndef HANZITABLE_H
#define HANZITABLE_H

#include <QByteArray>
#include <QHash>

#include <vector>

// The readings and the simplified and traditional forms of Chinese
// characters, read once from the table the build makes out of the Unihan
// database. Characters are looked up by their folded form (see fold()).
class HanziTable
{
public:
    static const HanziTable &instance();

    // The form a character is found as: a traditional character as its
    // simplified form, any other character as itself.
    char32_t fold(char32_t code) const
    {
        if (code < 0x2e80)
            return code;
        if (code <= 0xffff)
            return bmpFold[code] ? bmpFold[code] : code;
        return astralFold.value(code, code);
    }

    // The reading set of a folded character, 0 when it has no reading.
    quint16 readingSet(char32_t code) const
    {
        if (code < 0x2e80)
            return 0;
        return code <= 0xffff ? bmpSet[code] : astralSet.value(code, 0);
    }

    // The syllables a reading set holds: a character with several readings
    // holds each; set 0 holds none.
    const quint16 *syllablesBegin(quint16 set) const { return syllableLists.data() + setStart[set]; }
    const quint16 *syllablesEnd(quint16 set) const { return syllableLists.data() + setStart[set + 1]; }
    // The letters of the set's syllables, and their first letters, one bit each ("a" is bit 0).
    quint32 letters(quint16 set) const { return setLetters[set]; }
    quint32 initials(quint16 set) const { return setInitials[set]; }

    // Each syllable without tones, in small Latin letters ("zhong").
    const std::vector<QByteArray> &syllables() const { return syllableTexts; }

    // False when the table could not be read: find then matches the texts'
    // own characters only.
    bool isLoaded() const { return loaded; }

    // The memory the table takes, in bytes.
    qint64 bytes() const;

    // A letter's bit, 0 for anything but a-z.
    static quint32 letterBit(char c) { return c >= 'a' && c <= 'z' ? 1u << (c - 'a') : 0; }

private:
    HanziTable();

    std::vector<char32_t> bmpFold;
    std::vector<quint16> bmpSet;
    QHash<char32_t, char32_t> astralFold;
    QHash<char32_t, quint16> astralSet;
    std::vector<quint32> setStart;
    std::vector<quint16> syllableLists;
    std::vector<quint32> setLetters;
    std::vector<quint32> setInitials;
    std::vector<QByteArray> syllableTexts;
    bool loaded = false;
};

#endif

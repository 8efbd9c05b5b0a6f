#ifndef FINDQUERY_H
#define FINDQUERY_H

#include <QString>

#include <string>
#include <vector>

// What the user typed into the find bar, ready to be matched against the
// texts of the cards. A text matches when it holds the query, both folded
// (case, and simplified or traditional Chinese characters as one), or, for a
// query of Latin letters, when a run of Chinese characters in it reads as
// the query in pinyin without tones: whole syllables ("zhongguo"), their
// first letters ("zg", and "zh", "ch", "sh" as well as "z", "c", "s"), or a
// mix, syllable by syllable, the last one possibly begun only ("zhongguoyin").
// A character with several readings reads as any of them.
class FindQuery
{
public:
    explicit FindQuery(const QString &text);

    bool isEmpty() const { return needle.empty(); }

    // The text folded as find folds it, in UTF-8.
    const std::string &folded() const { return needle; }

    // Whether the query may match by pinyin.
    bool hasPinyin() const { return acceptBit != 0; }

    // Cheap test before matchesPinyin(): false when a text whose characters'
    // readings hold these letters and initials (HanziTable bits) cannot match.
    bool mayMatchPinyin(quint32 textInitials, quint32 textLetters) const
    {
        return (textInitials & firstLetter) && (textLetters & letters) == letters;
    }

    // Whether a run of the characters, given by their reading sets (one per
    // character, 0 for one without a reading), reads as the query.
    bool matchesPinyin(const quint16 *sets, size_t count) const;

    // Whether one text matches, as find matches it.
    bool matches(const QString &text) const;

    // Appends the folded text to `out`; with `sets`, appends the reading set
    // of each of its characters there too. True when any character has a reading.
    static bool fold(const QString &text, std::string &out, std::vector<quint16> *sets = nullptr);

    // Pinyin queries are at most this long.
    static constexpr int longestPinyin = 63;

private:
    std::string needle;
    // Bit p stands for "the first p letters of the query are read"; the
    // masks tell from which of those a syllable moves on.
    std::vector<quint64> wholeFrom;
    std::vector<quint64> twoLetterFrom;
    std::vector<quint64> endsInside;
    std::vector<quint64> initialFrom;
    std::vector<int> syllableLength;
    quint64 letterFrom[26] = {};
    quint64 acceptBit = 0;
    quint32 firstLetter = 0;
    quint32 letters = 0;
};

#endif

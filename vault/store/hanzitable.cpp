#include "store/hanzitable.h"

#include <QDataStream>
#include <QFile>

namespace {

constexpr quint32 magic = 0x4e485a31;

} // namespace

const HanziTable &HanziTable::instance()
{
    static const HanziTable table;
    return table;
}

HanziTable::HanziTable()
    : bmpFold(0x10000, 0)
    , bmpSet(0x10000, 0)
{
    // Set 0 is the empty set of a character without a reading.
    setStart = {0, 0};
    setLetters = {0};
    setInitials = {0};
    QFile file(QStringLiteral(":/hanzi.bin"));
    if (!file.open(QIODevice::ReadOnly)) {
        qWarning("The table of Chinese characters is missing from the program: find matches characters only");
        return;
    }
    QDataStream in(&file);
    in.setVersion(QDataStream::Qt_6_4);
    quint32 mark = 0;
    quint32 count = 0;
    in >> mark >> count;
    if (mark != magic)
        in.setStatus(QDataStream::ReadCorruptData);
    else
        syllableTexts.resize(count);
    for (QByteArray &syllable : syllableTexts)
        in >> syllable;
    in >> count;
    for (quint32 i = 0; i < count && in.status() == QDataStream::Ok; ++i) {
        quint8 size = 0;
        in >> size;
        quint32 letters = 0;
        quint32 initials = 0;
        for (int n = 0; n < size; ++n) {
            quint16 syllable = 0;
            in >> syllable;
            if (syllable >= syllableTexts.size() || syllableTexts[syllable].isEmpty()) {
                in.setStatus(QDataStream::ReadCorruptData);
                break;
            }
            syllableLists.push_back(syllable);
            for (const char c : syllableTexts[syllable])
                letters |= letterBit(c);
            initials |= letterBit(syllableTexts[syllable].at(0));
        }
        setStart.push_back(quint32(syllableLists.size()));
        setLetters.push_back(letters);
        setInitials.push_back(initials);
    }
    // Stored sets are numbered from 0; here set 0 is the empty one.
    in >> count;
    for (quint32 i = 0; i < count && in.status() == QDataStream::Ok; ++i) {
        quint32 code = 0;
        quint16 set = 0;
        in >> code >> set;
        const quint16 shifted = quint16(set + 1);
        if (shifted >= setLetters.size())
            in.setStatus(QDataStream::ReadCorruptData);
        else if (code <= 0xffff)
            bmpSet[code] = shifted;
        else
            astralSet.insert(code, shifted);
    }
    in >> count;
    for (quint32 i = 0; i < count && in.status() == QDataStream::Ok; ++i) {
        quint32 from = 0;
        quint32 to = 0;
        in >> from >> to;
        if (from <= 0xffff)
            bmpFold[from] = to;
        else
            astralFold.insert(from, to);
    }
    loaded = in.status() == QDataStream::Ok;
    if (!loaded) {
        qWarning("The table of Chinese characters in the program is damaged: find matches characters only");
        bmpFold.assign(0x10000, 0);
        bmpSet.assign(0x10000, 0);
        astralFold.clear();
        astralSet.clear();
        setStart = {0, 0};
        syllableLists.clear();
        setLetters = {0};
        setInitials = {0};
        syllableTexts.clear();
    }
}

qint64 HanziTable::bytes() const
{
    return qint64(bmpFold.size() * sizeof(char32_t) + bmpSet.size() * sizeof(quint16)
                  + (astralFold.size() + astralSet.size()) * 16 + setStart.size() * sizeof(quint32)
                  + syllableLists.size() * sizeof(quint16) + setLetters.size() * 2 * sizeof(quint32)
                  + syllableTexts.size() * 32);
}

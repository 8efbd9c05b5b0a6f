#include "store/textrecoder.h"

#include "store/datakey.h"
#include "store/sealedtext.h"

#include <sodium.h>

#include <algorithm>

namespace {

// Rows a thread takes at a time: few enough that both threads end together,
// enough that the nonces of their texts are drawn in one call.
constexpr size_t stretchRows = 64;

} // namespace

TextRecoder::TextRecoder(const DataKey &fromKey, const DataKey *toKey, QList<QByteArray> cellData)
    : from(fromKey)
    , to(toKey)
    , columnData(std::move(cellData))
    , textColumns(int(std::count_if(this->columnData.cbegin(), this->columnData.cend(),
                                    [](const QByteArray &data) { return !data.isEmpty(); })))
{ }

TextRecoder::~TextRecoder()
{
    if (helper.valid())
        helper.wait();
}

void TextRecoder::start(std::vector<QVariant> *rowCells)
{
    cells = rowCells;
    nextRow = 0;
    damaged = false;
    helper = std::async(std::launch::async, [this] { recodeStretches(); });
}

bool TextRecoder::finish()
{
    recodeStretches();
    helper.get();
    cells = nullptr;
    return !damaged;
}

void TextRecoder::recodeStretches()
{
    const size_t width = size_t(columnData.size());
    const size_t rows = cells->size() / width;
    std::vector<unsigned char> nonces;
    for (;;) {
        const size_t begin = nextRow.fetch_add(stretchRows);
        if (begin >= rows || damaged)
            return;
        const size_t end = std::min(rows, begin + stretchRows);
        if (to) {
            // One draw of the system's random bytes for all the stretch's nonces.
            nonces.resize((end - begin) * size_t(textColumns) * SealedText::nonceSize);
            randombytes_buf(nonces.data(), nonces.size());
        }
        const unsigned char *nonce = nonces.data();
        for (size_t cell = begin * width; cell < end * width; ++cell) {
            const QByteArray &data = columnData.at(qsizetype(cell % width));
            if (data.isEmpty())
                continue;
            if (!recode((*cells)[cell], data, nonce)) {
                damaged = true;
                return;
            }
            nonce += SealedText::nonceSize;
        }
    }
}

bool TextRecoder::recode(QVariant &cell, const QByteArray &data, const unsigned char *nonce) const
{
    if (cell.isNull())
        return true;
    QByteArray text = cell.toByteArray();
    bool opened = false;
    if (SealedText::isSealedUtf8(text)) {
        std::optional<QByteArray> open = SealedText::openUtf8(from, text, data);
        // A plain store's text that merely looks sealed is its own text.
        if (!open && !from.isEmpty())
            return false;
        if (open) {
            text = std::move(*open);
            opened = true;
        }
    }
    if (to) {
        QByteArray sealed = SealedText::sealUtf8(*to, text, data, nonce);
        // The opened text goes no further than this.
        if (opened)
            sodium_memzero(text.data(), size_t(text.size()));
        text = std::move(sealed);
    }
    cell = QVariant(std::move(text));
    return true;
}

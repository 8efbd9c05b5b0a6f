#include "store/storekey.h"

#include "store/cardtextindex.h"

#include "store/datakey.h"
#include "store/sealedtext.h"

#include <QCoreApplication>

namespace StoreKey {

namespace {

// Freed, and so wiped, at the latest when the program ends.
DataKey &installed()
{
    static DataKey key;
    return key;
}

bool &lockedFlag()
{
    static bool locked = false;
    return locked;
}

} // namespace

void install(DataKey key)
{
    installed() = std::move(key);
    lockedFlag() = false;
    // Texts read under another key, or none, are read again.
    CardTextIndex::instance().forget();
}

void clear()
{
    installed() = DataKey();
    lockedFlag() = false;
    // The opened texts go with the key.
    CardTextIndex::instance().forget();
}

void lock()
{
    if (!isInstalled())
        return;
    installed() = DataKey();
    lockedFlag() = true;
    CardTextIndex::instance().forget();
}

bool isLocked()
{
    return lockedFlag();
}

bool isInstalled()
{
    return !installed().isEmpty();
}

const DataKey &current()
{
    return installed();
}

bool isTextColumn(const QString &table, const QString &column)
{
    if (column == QLatin1String("name"))
        return table == QLatin1String("card") || table == QLatin1String("category");
    return table == QLatin1String("content") && (column == QLatin1String("title") || column == QLatin1String("value"));
}

QString seal(const QString &table, const QString &column, const QString &text)
{
    if (!isInstalled())
        return text;
    return SealedText::seal(installed(), text, SealedText::columnData(table, column));
}

QVariant sealValue(const QString &table, const QString &column, const QVariant &value)
{
    if (!isInstalled() || value.isNull() || !isTextColumn(table, column))
        return value;
    return seal(table, column, value.toString());
}

QString open(const QString &table, const QString &column, const QVariant &stored, bool *damaged)
{
    const QString text = stored.toString();
    if (damaged)
        *damaged = false;
    // A plain store shows whatever it holds, as it always has.
    if (!SealedText::isSealed(text) || !isInstalled())
        return text;
    if (const std::optional<QString> opened =
            SealedText::open(installed(), text, SealedText::columnData(table, column)))
        return *opened;
    if (damaged)
        *damaged = true;
    return damagedText();
}

QVariant openValue(const QString &table, const QString &column, const QVariant &stored)
{
    if (!isInstalled() || !isTextColumn(table, column) || !SealedText::isSealed(stored.toString()))
        return stored;
    return open(table, column, stored);
}

QString damagedText()
{
    return QCoreApplication::translate("StoreKey", "(damaged: this text cannot be read)");
}

QString lockedText()
{
    return QCoreApplication::translate("StoreKey", "the vault is locked");
}

} // namespace StoreKey

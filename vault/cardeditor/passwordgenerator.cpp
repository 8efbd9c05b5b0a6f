#include "cardeditor/passwordgenerator.h"

#include <QRandomGenerator>

#include <algorithm>

namespace PasswordGenerator {

namespace {

const QLatin1String classes[] = {
    QLatin1String("ABCDEFGHIJKLMNOPQRSTUVWXYZ"),
    QLatin1String("abcdefghijklmnopqrstuvwxyz"),
    QLatin1String("0123456789"),
    QLatin1String("!#$%&*+-=?@^_"),
};

// Each of 0 .. bound - 1 equally likely: a draw beyond the last whole
// multiple of the bound would favour the small numbers, so it is drawn again.
quint32 uniformBelow(quint32 bound)
{
    const quint64 range = quint64(1) << 32;
    const quint64 limit = range - range % bound;
    quint32 draw = 0;
    do
        draw = QRandomGenerator::system()->generate();
    while (draw >= limit);
    return draw % bound;
}

bool holdsEveryClass(const QString &password)
{
    for (const QLatin1String &members : classes) {
        if (std::none_of(password.cbegin(), password.cend(), [&](QChar c) { return members.contains(c); }))
            return false;
    }
    return true;
}

} // namespace

QString generate()
{
    QString alphabet;
    for (const QLatin1String &members : classes)
        alphabet += members;
    // Drawing whole passwords until one holds every class keeps them all
    // equally likely; about one draw in twelve is drawn again.
    QString password;
    do {
        password.clear();
        for (int i = 0; i < passwordLength; ++i)
            password += alphabet.at(uniformBelow(static_cast<quint32>(alphabet.size())));
    } while (!holdsEveryClass(password));
    return password;
}

} // namespace PasswordGenerator

#include "store/csvfile.h"

#include <QCoreApplication>
#include <QStringDecoder>

namespace CsvFile {

namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("CsvFile", text);
}

int lineOfOffset(const QByteArray &data, qsizetype offset)
{
    return int(data.left(offset).count('\n')) + 1;
}

// The text of the file; false with the line of the first byte that no text holds.
bool decode(const QByteArray &data, QString *text, QString *error, int *errorLine)
{
    if (data.startsWith("\xff\xfe") || data.startsWith("\xfe\xff")) {
        QStringDecoder utf16(data.startsWith("\xff\xfe") ? QStringConverter::Utf16LE : QStringConverter::Utf16BE);
        *text = utf16(data.mid(2));
        if (!utf16.hasError())
            return true;
        *errorLine = 1;
        *error = tr("The file is not text.");
        return false;
    }
    const QByteArray body = data.startsWith("\xef\xbb\xbf") ? data.mid(3) : data;
    const qsizetype zero = body.indexOf('\0');
    if (zero >= 0) {
        *errorLine = lineOfOffset(body, zero);
        *error = tr("The file is not text.");
        return false;
    }
    QStringDecoder utf8(QStringConverter::Utf8);
    *text = utf8(body);
    if (!utf8.hasError())
        return true;
    // Line breaks never fall inside a UTF-8 sequence, so lines can be tried one by one.
    const QList<QByteArray> lines = body.split('\n');
    for (int i = 0; i < lines.size(); ++i) {
        // Stateless, so that a broken sequence at the end of a line counts;
        // the decoder decodes only when its result is taken.
        QStringDecoder line(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
        const QString decoded = line(lines.at(i));
        if (line.hasError()) {
            *errorLine = i + 1;
            break;
        }
    }
    *error = tr("The file is not text in UTF-8.");
    return false;
}

// The separator of the first line: the one of comma and semicolon that
// stands outside quotes more often.
QChar separatorOf(const QString &text)
{
    int commas = 0;
    int semicolons = 0;
    bool quoted = false;
    for (const QChar c : text) {
        if (c == QLatin1Char('"'))
            quoted = !quoted;
        else if (!quoted && (c == QLatin1Char('\n') || c == QLatin1Char('\r')))
            break;
        else if (!quoted && c == QLatin1Char(','))
            ++commas;
        else if (!quoted && c == QLatin1Char(';'))
            ++semicolons;
    }
    return semicolons > commas ? QLatin1Char(';') : QLatin1Char(',');
}

} // namespace

bool parse(const QByteArray &data, QList<Row> *rows, QString *error, int *errorLine)
{
    QString text;
    if (!decode(data, &text, error, errorLine))
        return false;
    const QChar separator = separatorOf(text);
    const QChar quote = QLatin1Char('"');
    const qsizetype size = text.size();
    const QChar *chars = text.constData();
    int line = 1;
    qsizetype i = 0;
    Row row;
    row.line = 1;
    QString field;
    bool rowHasText = false;
    auto endRow = [&]() {
        row.fields.append(field);
        if (rowHasText || row.fields.size() > 1)
            rows->append(row);
        row.fields.clear();
        field.clear();
        rowHasText = false;
    };
    while (i < size) {
        const QChar c = chars[i];
        if (c == quote && field.isEmpty()) {
            const int opened = line;
            ++i;
            for (;;) {
                if (i >= size) {
                    *errorLine = opened;
                    *error = tr("A quote opened on this line is never closed.");
                    return false;
                }
                const QChar q = chars[i++];
                if (q == quote) {
                    if (i < size && chars[i] == quote) {
                        field.append(quote);
                        ++i;
                        continue;
                    }
                    break;
                }
                if (q == QLatin1Char('\n'))
                    ++line;
                field.append(q);
            }
            rowHasText = true;
            if (i < size && chars[i] != separator && chars[i] != QLatin1Char('\n') && chars[i] != QLatin1Char('\r')) {
                *errorLine = line;
                *error = tr("A closing quote is followed by more text in the same field.");
                return false;
            }
            continue;
        }
        if (c == separator) {
            row.fields.append(field);
            field.clear();
            ++i;
        } else if (c == QLatin1Char('\r') || c == QLatin1Char('\n')) {
            endRow();
            i += (c == QLatin1Char('\r') && i + 1 < size && chars[i + 1] == QLatin1Char('\n')) ? 2 : 1;
            ++line;
            row.line = line;
        } else {
            field.append(c);
            rowHasText = true;
            ++i;
        }
    }
    if (rowHasText || !row.fields.isEmpty())
        endRow();
    return true;
}

QByteArray formatRow(const QStringList &fields)
{
    QByteArray line;
    for (int i = 0; i < fields.size(); ++i) {
        if (i > 0)
            line.append(',');
        const QString &field = fields.at(i);
        const bool quoted = field.contains(QLatin1Char(',')) || field.contains(QLatin1Char('"'))
            || field.contains(QLatin1Char('\n')) || field.contains(QLatin1Char('\r'))
            || field.contains(QLatin1Char(';'));
        if (!quoted) {
            line.append(field.toUtf8());
            continue;
        }
        QString escaped = field;
        escaped.replace(QLatin1String("\""), QLatin1String("\"\""));
        line.append('"').append(escaped.toUtf8()).append('"');
    }
    return line.append("\r\n");
}

QByteArray header()
{
    return QByteArrayLiteral("\xef\xbb\xbf");
}

} // namespace CsvFile

#ifndef CSVFILE_H
#define CSVFILE_H

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// Comma-separated text as spreadsheets, browsers and other vaults write it:
// fields in double quotes may hold the separator, doubled quotes and line
// breaks; UTF-8 with or without a byte-order mark (UTF-16 with one); comma
// or semicolon, whichever the first line uses.
namespace CsvFile {

struct Row
{
    // The line of the file on which the row begins, from 1.
    int line = 0;
    QStringList fields;
};

// The rows of `data`, lines without any text left out. False when it is no
// such text (binary bytes, a quote left open); `error` then says what, and
// `errorLine` where.
bool parse(const QByteArray &data, QList<Row> *rows, QString *error, int *errorLine);

// One row as a line, with CRLF; fields quoted where they need it.
QByteArray formatRow(const QStringList &fields);

// What a file written by formatRow begins with: the byte-order mark that
// lets spreadsheets read UTF-8.
QByteArray header();

} // namespace CsvFile

#endif

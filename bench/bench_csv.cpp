// Reads a browser export of 10,000 rows (with a folder column, so that the
// cards go into 100 categories), stores it, and writes the cards out again
// in the program's own layout.
#include "benchsupport.h"
#include "teststore.h"

#include "store/csvcards.h"

#include <QCoreApplication>

namespace {

QByteArray browserExport(int rows)
{
    QByteArray csv = "name,url,username,password,note,folder\r\n";
    for (int i = 1; i <= rows; ++i)
        csv += QStringLiteral("站点 %1,https://site%1.example.com/login,user%1,\"p,w\"\"%1\",\"note %1\nsecond line\","
                              "folder %2\r\n")
                   .arg(i)
                   .arg(i % 100)
                   .toUtf8();
    return csv;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int rows = 10000;
    const QByteArray csv = browserExport(rows);
    TestStore store;

    QElapsedTimer clock;
    clock.start();
    QList<CsvFile::Row> parsed;
    QString error;
    int line = 0;
    QList<CsvCard> cards;
    const CsvLayout layout =
        CsvFile::parse(csv, &parsed, &error, &line) ? CsvLayout::recognise(parsed.first().fields) : CsvLayout();
    if (!layout.isKnown() || !layout.cards(parsed.mid(1), &cards, &error, &line)) {
        std::fprintf(stderr, "reading failed at line %d: %s\n", line, qPrintable(error));
        return 1;
    }
    print("csv_read_10000_ms", clock.nsecsElapsed() / 1e6);
    if (!CsvCards::write(
            cards, QStringLiteral("Imported"), [](int) {}, &error)) {
        std::fprintf(stderr, "writing failed: %s\n", qPrintable(error));
        return 1;
    }
    print("csv_import_10000_ms", clock.nsecsElapsed() / 1e6);

    clock.restart();
    QList<CsvCard> stored;
    if (!CsvCards::read(std::nullopt, &stored, &error) || stored.size() != rows) {
        std::fprintf(stderr, "reading the store failed: %s\n", qPrintable(error));
        return 1;
    }
    const QByteArray exported = CsvCards::toCsv(stored);
    print("csv_export_10000_ms", clock.nsecsElapsed() / 1e6);
    print("csv_export_bytes", exported.size());
    return 0;
}

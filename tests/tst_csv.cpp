// Cards in and out of CSV files, below the windows: how a file is read, how
// a row is written, which program a header names, and what each row becomes.
#include "store/csvfile.h"
#include "store/csvlayout.h"

#include <QtTest>

namespace {

// Rows as "line:field|field" joined by ";", or "Line n: error".
QString parsed(const QByteArray &data)
{
    QList<CsvFile::Row> rows;
    QString error;
    int errorLine = 0;
    if (!CsvFile::parse(data, &rows, &error, &errorLine))
        return QStringLiteral("Line %1: %2").arg(errorLine).arg(error);
    QStringList shown;
    for (const CsvFile::Row &row : rows)
        shown << QString::number(row.line) + QLatin1Char(':') + row.fields.join(QLatin1Char('|'));
    return shown.join(QLatin1Char(';'));
}

QByteArray utf16le(const QString &text)
{
    return QByteArray("\xff\xfe")
        + QByteArray(reinterpret_cast<const char *>(text.utf16()), text.size() * qsizetype(sizeof(char16_t)));
}

} // namespace

class TestCsv : public QObject
{
    Q_OBJECT

private slots:
    void parse_data()
    {
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<QString>("rows");
        const auto row = [](const char *name, const QByteArray &data, const char *rows) {
            QTest::newRow(name) << data << QString::fromUtf8(rows);
        };
        row("commas", QByteArray("a,b,c\n1,2,3\n"), "1:a|b|c;2:1|2|3");
        row("CRLF and a quoted comma", QByteArray("a,b\r\n\"x,y\",z\r\n"), "1:a|b;2:x,y|z");
        row("doubled quotes", QByteArray("a\n\"say \"\"hi\"\"\"\n"), "1:a;2:say \"hi\"");
        row("a line break inside quotes", QByteArray("h\n\"two\nlines\",x\nnext\n"), "1:h;2:two\nlines|x;4:next");
        row("byte-order mark", QByteArray("\xef\xbb\xbf") + "a,b\n", "1:a|b");
        row("semicolons outnumber commas", QByteArray("a;b,c;d\n"), "1:a|b,c|d");
        row("commas in quotes do not count", QByteArray("\"a,b,c\";d;e\n"), "1:a,b,c|d|e");
        row("blank lines left out", QByteArray("a\n\n\r\nb\n"), "1:a;4:b");
        row("a blank first line", QByteArray("\na\n"), "2:a");
        row("empty fields kept", QByteArray("a,,\n,\n"), "1:a||;2:|");
        row("no line break at the end", QByteArray("a,b"), "1:a|b");
        row("old Mac line ends", QByteArray("a\rb\r"), "1:a;2:b");
        row("UTF-16 with its mark", utf16le("名称,b\n"), "1:名称|b");
        row("UTF-8 without a mark", QByteArray("银行,张三\n"), "1:银行|张三");
        row("a zero byte", QByteArray("a\nb\0c\n", 6), "Line 2: The file is not text.");
        row("not UTF-8", QByteArray("a\nb\nc\xff\n"), "Line 3: The file is not text in UTF-8.");
        row("a quote left open", QByteArray("a\n\"open\nmore\n"),
            "Line 2: A quote opened on this line is never closed.");
        row("text after a closing quote", QByteArray("x\n\"a\"b,c\n"),
            "Line 2: A closing quote is followed by more text in the same field.");
    }
    void parse()
    {
        QFETCH(QByteArray, data);
        QTEST(parsed(data), "rows");
    }

    void formatRow_data()
    {
        QTest::addColumn<QStringList>("fields");
        QTest::addColumn<QByteArray>("line");
        QTest::newRow("plain") << QStringList {"a", "b"} << QByteArray("a,b\r\n");
        QTest::newRow("empty fields") << QStringList {"", ""} << QByteArray(",\r\n");
        QTest::newRow("comma") << QStringList {"a,b", "c"} << QByteArray("\"a,b\",c\r\n");
        QTest::newRow("semicolon") << QStringList {"a;b"} << QByteArray("\"a;b\"\r\n");
        QTest::newRow("quotes doubled") << QStringList {"say \"hi\""} << QByteArray("\"say \"\"hi\"\"\"\r\n");
        QTest::newRow("line feed") << QStringList {"x\ny"} << QByteArray("\"x\ny\"\r\n");
        QTest::newRow("carriage return") << QStringList {"x\ry"} << QByteArray("\"x\ry\"\r\n");
        QTest::newRow("Chinese as UTF-8") << QStringList {"银行"} << QByteArray("银行\r\n");
    }
    void formatRow()
    {
        QFETCH(QStringList, fields);
        QTEST(CsvFile::formatRow(fields), "line");
        // What is written reads back the same.
        QCOMPARE(parsed(CsvFile::formatRow(fields)), "1:" + fields.join(QLatin1Char('|')));
    }

    void recognise_data()
    {
        QTest::addColumn<QString>("header");
        // The name the preview gives, empty for a header nothing is read from.
        QTest::addColumn<QString>("name");
        const auto row = [](const char *name, const char *header, const char *shown) {
            QTest::newRow(name) << QString(header) << QString(shown);
        };
        row("own", "category,type,name,title,value,title,value", "Nimbrel");
        row("own, no lines, other case", " Category ,TYPE,Name", "Nimbrel");
        row("own with a stray column", "category,type,name,title,note", "");
        row("Chrome", "name,url,username,password", "Chrome or Edge");
        row("Edge, with notes", "name,url,username,password,note", "Chrome or Edge");
        row("Chrome's columns and more", "name,url,username,password,pin", "CSV with a header row");
        row("Firefox",
            "url,username,password,httpRealm,formActionOrigin,guid,timeCreated,timeLastUsed,timePasswordChanged",
            "Firefox");
        row("Safari", "Title,URL,Username,Password,Notes,OTPAuth", "Safari");
        row("Bitwarden",
            "folder,favorite,type,name,notes,fields,reminder,login_uri,login_username,login_password,login_totp",
            "Bitwarden");
        row("LastPass", "url,username,password,totp,extra,name,grouping,fav", "LastPass");
        row("KeePassXC", "Group,Title,Username,Password,URL,Notes,TOTP,Icon,Last Modified,Created", "KeePassXC");
        row("any header with a login", "Title,Login,Secret", "CSV with a header row");
        row("a web site alone", "web site", "CSV with a header row");
        row("a password alone", "Password", "CSV with a header row");
        row("names and notes only", "name,notes,folder", "");
        row("no known column", "a,b,c", "");
    }
    void recognise()
    {
        QFETCH(QString, header);
        const CsvLayout layout = CsvLayout::recognise(header.split(QLatin1Char(',')));
        QTEST(layout.name(), "name");
        QCOMPARE(layout.isKnown(), !layout.name().isEmpty());
    }

    void cards_data()
    {
        QTest::addColumn<QByteArray>("csv");
        // Each card as "type|name|category|title=value|...", or "line: refusal".
        QTest::addColumn<QStringList>("cards");
        const auto row = [](const char *name, const QByteArray &csv, const QStringList &cards) {
            QTest::newRow(name) << csv << cards;
        };
        row("Chrome", QByteArray("name,url,username,password\n银行,https://bank.example.cn/,张三,pw\n"),
            QStringList {"18|银行||Site Name=银行|Username=张三|Password=pw"
                         "|URL=https://bank.example.cn/"});
        row("named by the host, empty fields left out",
            QByteArray("name,url,username,password\n, https://www.example.com/a ,,pw\n"),
            QStringList {"18|www.example.com||Password=pw|URL= https://www.example.com/a "});
        row("extra columns follow, bookkeeping dropped",
            QByteArray("title,username,guid,PIN,Question\nBank,u,{1},0042,\n"),
            QStringList {"18|Bank||Site Name=Bank|Username=u|PIN=0042"});
        row("the first of two name columns", QByteArray("name,title,url\nfirst,second,u\n"),
            QStringList {"18|first||Site Name=first|URL=u"});
        row("folders", QByteArray("name,password,folder\nA,p, 工作 \n"),
            QStringList {"18|A|工作|Site Name=A|Password=p"});
        row("a Bitwarden note",
            QByteArray("folder,type,name,notes,login_uri,login_username,login_password\n,note,Wi-Fi,key 42,,,\n"
                       "Web,login,Git,n,https://git.example,dev,pw\n"),
            QStringList {"10|Wi-Fi||Note=key 42",
                         "18|Git|Web|Site Name=Git|Username=dev|Password=pw|URL=https://git.example|Note=n"});
        row("a LastPass note",
            QByteArray("url,username,password,extra,name,grouping\n"
                       "http://sn,,,secret text,Server,IT\n"),
            QStringList {"10|Server|IT|Note=secret text"});
        row("a URL named http://sn elsewhere is a site", QByteArray("name,url,username,password\nX,http://sn,u,p\n"),
            QStringList {"18|X||Site Name=X|Username=u|Password=p|URL=http://sn"});
        row("more fields than the header", QByteArray("name,url,username,password\nx,u,n,p\n\ny,u,n,p,q\n"),
            QStringList {"4: This row has 5 fields, more than the 4 columns of the header."});
        row("own layout",
            QByteArray("category,type,name,title,value,title,value\n工作,Credit Card,visa,PIN,0042,,\n"
                       ",website,site,,,Note,n\n,7,by number\n"),
            QStringList {"5|visa|工作|PIN=0042", "18|site||=|Note=n", "7|by number|"});
        row("own layout, type 0", QByteArray("category,type,name\nA,0,x\n"),
            QStringList {"2: \"0\" is not a card type."});
        row("own layout, type 19", QByteArray("category,type,name\nA,19,x\n"),
            QStringList {"2: \"19\" is not a card type."});
        row("own layout, type 18", QByteArray("category,type,name\nA,18,x\n"), QStringList {"18|x|A"});
        row("own layout, type 1", QByteArray("category,type,name\nA,1,x\n"), QStringList {"1|x|A"});
        row("own layout, an unknown type", QByteArray("category,type,name\nA,Address,x\nB,Spaceship,y\n"),
            QStringList {"3: \"Spaceship\" is not a card type."});
    }
    void cards()
    {
        QFETCH(QByteArray, csv);
        QList<CsvFile::Row> rows;
        QString error;
        int errorLine = 0;
        QVERIFY(CsvFile::parse(csv, &rows, &error, &errorLine));
        const CsvLayout layout = CsvLayout::recognise(rows.takeFirst().fields);
        QList<CsvCard> cards;
        QStringList shown;
        if (layout.cards(rows, &cards, &error, &errorLine)) {
            for (const CsvCard &card : cards) {
                QStringList fields = {QString::number(card.type), card.name, card.category};
                for (const auto &line : card.lines)
                    fields << line.first + QLatin1Char('=') + line.second;
                shown << fields.join(QLatin1Char('|'));
            }
        } else {
            shown << QString::number(errorLine) + QLatin1String(": ") + error;
        }
        QTEST(shown, "cards");
    }

    // This program's own rows read back to the card they were written from.
    void ownRowReadsBack()
    {
        const CsvCard card {5,
                            QStringLiteral("visa \"gold\""),
                            QStringLiteral("a,b;c"),
                            {{QStringLiteral("PIN"), QStringLiteral("0042")}, {QString(), QStringLiteral("x\ny")}}};
        QCOMPARE(CsvLayout::ownHeader(2),
                 QStringList({"category", "type", "name", "title", "value", "title", "value"}));
        QCOMPARE(CsvLayout::ownRow(card),
                 QStringList({"a,b;c", "Credit Card", "visa \"gold\"", "PIN", "0042", "", "x\ny"}));
        QList<CsvFile::Row> rows;
        QString error;
        int errorLine = 0;
        QVERIFY(CsvFile::parse(CsvFile::formatRow(CsvLayout::ownRow(card)), &rows, &error, &errorLine));
        QList<CsvCard> back;
        QVERIFY(CsvLayout::recognise(CsvLayout::ownHeader(2)).cards(rows, &back, &error, &errorLine));
        QCOMPARE(back.size(), 1);
        QCOMPARE(back.first().type, 5);
        QCOMPARE(back.first().name, card.name);
        QCOMPARE(back.first().category, card.category);
        QCOMPARE(back.first().lines, card.lines);
    }
};

QTEST_MAIN(TestCsv)
#include "tst_csv.moc"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <QtTest>

namespace {

const QString tsPath = QStringLiteral(NIMBREL_SOURCE_DIR "/vault/resources/nimbrel_zh_CN.ts");

struct Message
{
    QString context;
    QString source;
    QString type; // of the translation: "", "unfinished", "vanished", "obsolete"
    QStringList translations; // one, or one per numerus form
};

QList<Message> readMessages(const QString &path, QString *error)
{
    QList<Message> messages;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = file.errorString();
        return messages;
    }
    QXmlStreamReader xml(&file);
    QString context;
    Message message;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isEndElement() && xml.name() == QLatin1String("message")) {
            messages << message;
            continue;
        }
        if (!xml.isStartElement())
            continue;
        if (xml.name() == QLatin1String("name")) {
            context = xml.readElementText();
        } else if (xml.name() == QLatin1String("message")) {
            message = Message{context, QString(), QString(), QStringList()};
        } else if (xml.name() == QLatin1String("source")) {
            message.source = xml.readElementText();
        } else if (xml.name() == QLatin1String("translation")) {
            message.type = xml.attributes().value(QLatin1String("type")).toString();
            // Plain text, or one <numerusform> per plural form.
            QString text;
            while (!xml.atEnd() && xml.readNext() != QXmlStreamReader::EndElement) {
                if (xml.isCharacters())
                    text += xml.text();
                else if (xml.isStartElement())
                    message.translations << xml.readElementText();
            }
            if (message.translations.isEmpty())
                message.translations << text;
        }
    }
    if (xml.hasError())
        *error = xml.errorString();
    return messages;
}

QString describe(const Message &message)
{
    return message.context + QLatin1String(": \"") + message.source.left(60) + QLatin1Char('"');
}

QString listed(const QStringList &problems)
{
    QStringList shown = problems.mid(0, 40);
    if (problems.size() > shown.size())
        shown << QStringLiteral("... and %1 more").arg(problems.size() - shown.size());
    return QString::number(problems.size()) + QLatin1String(" problem(s):\n  ") + shown.join(QLatin1String("\n  "));
}

QString findLupdate()
{
    const QStringList candidates{
        QLibraryInfo::path(QLibraryInfo::BinariesPath) + QLatin1String("/lupdate"),
        QLibraryInfo::path(QLibraryInfo::LibraryExecutablesPath) + QLatin1String("/lupdate"),
        QStringLiteral("/usr/lib/qt6/bin/lupdate"),
        QStandardPaths::findExecutable(QStringLiteral("lupdate6")),
    };
    for (const QString &candidate : candidates) {
        if (!candidate.isEmpty() && QFileInfo(candidate).isExecutable())
            return candidate;
    }
    return QString();
}

} // namespace

class TestTranslation : public QObject
{
    Q_OBJECT

private slots:
    void everyEntryIsTranslated();
    void translationsKeepMarkers();
    void sourcesHaveNoTextTheFileLacks();
};

void TestTranslation::everyEntryIsTranslated()
{
    QString error;
    const QList<Message> messages = readMessages(tsPath, &error);
    QVERIFY2(error.isEmpty(), qPrintable(tsPath + QLatin1String(": ") + error));
    QVERIFY(!messages.isEmpty());

    QStringList problems;
    for (const Message &message : messages) {
        if (!message.type.isEmpty())
            problems << message.type + QLatin1String(": ") + describe(message);
        else if (message.translations.contains(QString()))
            problems << QLatin1String("empty: ") + describe(message);
    }
    QVERIFY2(problems.isEmpty(), qPrintable(listed(problems)));
}

void TestTranslation::translationsKeepMarkers()
{
    QString error;
    const QList<Message> messages = readMessages(tsPath, &error);
    QVERIFY2(error.isEmpty(), qPrintable(error));

    static const QRegularExpression placeholder(QStringLiteral("%\\d"));
    static const QRegularExpression mnemonic(QStringLiteral("&[^&\\s]"));
    static const QRegularExpression tag(QStringLiteral("<[^>]+>"));
    QStringList problems;
    for (const Message &message : messages) {
        if (!message.type.isEmpty())
            continue;
        QStringList places;
        for (auto match = placeholder.globalMatch(message.source); match.hasNext();)
            places << match.next().captured();
        for (const QString &translation : message.translations) {
            for (const QString &place : places) {
                if (!translation.contains(place))
                    problems << place + QLatin1String(" lost: ") + describe(message);
            }
            if (message.source.contains(mnemonic) && !translation.contains(mnemonic))
                problems << QLatin1String("mnemonic lost: ") + describe(message);
            if (message.source.contains(tag) && !translation.contains(tag))
                problems << QLatin1String("markup lost: ") + describe(message);
        }
    }
    QVERIFY2(problems.isEmpty(), qPrintable(listed(problems)));
}

void TestTranslation::sourcesHaveNoTextTheFileLacks()
{
    const QString lupdate = findLupdate();
    QVERIFY2(!lupdate.isEmpty(), "lupdate of the Qt installation not found");

    // lupdate rewrites the file it is given: work on a copy.
    QTemporaryDir temp;
    QVERIFY(temp.isValid());
    const QString copy = temp.filePath(QStringLiteral("nimbrel_zh_CN.ts"));
    QVERIFY(QFile::copy(tsPath, copy));
    QFile::setPermissions(copy, QFileDevice::ReadOwner | QFileDevice::WriteOwner);

    QProcess process;
    process.setWorkingDirectory(QStringLiteral(NIMBREL_SOURCE_DIR));
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(lupdate, {QStringLiteral("-locations"), QStringLiteral("none"), QStringLiteral("vault"),
                            QStringLiteral("common"), QStringLiteral("updater"), QStringLiteral("-ts"), copy});
    QVERIFY2(process.waitForFinished(120000), qPrintable(process.errorString()));
    const QString output = QString::fromLocal8Bit(process.readAll());
    QVERIFY2(process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0, qPrintable(output));

    static const QRegularExpression found(
        QStringLiteral("Found (\\d+) source text\\(s\\) \\((\\d+) new and (\\d+) already existing\\)"));
    int reports = 0;
    int newTexts = 0;
    for (auto match = found.globalMatch(output); match.hasNext();) {
        newTexts += match.next().captured(2).toInt();
        ++reports;
    }
    QVERIFY2(reports > 0, qPrintable(QLatin1String("no count in lupdate's output:\n") + output));

    if (newTexts > 0) {
        QString error;
        QSet<QString> known;
        for (const Message &message : readMessages(tsPath, &error))
            known << message.context + QLatin1Char('\n') + message.source;
        QStringList missing;
        for (const Message &message : readMessages(copy, &error)) {
            if (!known.contains(message.context + QLatin1Char('\n') + message.source))
                missing << QLatin1String("not in the file: ") + describe(message);
        }
        QFAIL(qPrintable(QStringLiteral("lupdate found %1 new source text(s); ").arg(newTexts) + listed(missing)));
    }
}

QTEST_GUILESS_MAIN(TestTranslation)
#include "tst_translation.moc"

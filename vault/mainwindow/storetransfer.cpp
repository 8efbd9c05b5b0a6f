// Export of the store file and import of another store.
#include "mainwindow/mainwindow.h"

#include "mainwindow/importlogin.h"
#include "mainwindow/tablesupport.h"
#include "store/cardstore.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QProgressBar>
#include <QSaveFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRelationalTableModel>
#include <QTemporaryDir>

#include <climits>
#include <filesystem>
#include <system_error>

namespace {

const QString importConnection = QStringLiteral("importdb");

bool isSameFile(const QString &first, const QString &second)
{
    std::error_code error;
    return std::filesystem::equivalent(QFileInfo(first).filesystemFilePath(),
                                       QFileInfo(second).filesystemFilePath(), error);
}

// Writes a complete copy under a temporary name beside the target and only
// then renames it over the target, so a failure leaves the old file alone.
bool writeCopy(const QString &source, const QString &target, QString &error)
{
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly)) {
        error = in.errorString();
        return false;
    }
    QSaveFile out(target);
    if (!out.open(QIODevice::WriteOnly)) {
        error = out.errorString();
        return false;
    }
    while (!in.atEnd()) {
        const QByteArray chunk = in.read(1 << 20);
        if (chunk.isEmpty() && in.error() != QFileDevice::NoError) {
            error = in.errorString();
            return false;
        }
        if (chunk.isEmpty())
            break;
        if (out.write(chunk) != chunk.size()) {
            error = out.errorString();
            return false;
        }
    }
    if (!out.commit()) {
        error = out.errorString();
        return false;
    }
    return true;
}

// A URI keeps the attached file read-only; "?", "#" and "%" in the path
// would otherwise end or escape it.
QString readOnlyUri(const QString &fileName)
{
    QString path = QFileInfo(fileName).absoluteFilePath();
    path.replace(QLatin1Char('%'), QLatin1String("%25"))
        .replace(QLatin1Char('?'), QLatin1String("%3f"))
        .replace(QLatin1Char('#'), QLatin1String("%23"));
    if (!path.startsWith(QLatin1Char('/')))
        path.prepend(QLatin1Char('/'));
    return QLatin1String("file://") + path + QLatin1String("?mode=ro");
}

// The other store, opened read-only on a connection of its own for the
// checks, its password and its counts. The connection is closed and removed
// when the import ends, whatever the outcome.
class OtherStore
{
public:
    explicit OtherStore(const QString &fileName)
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), importConnection);
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
        db.setDatabaseName(fileName);
        opened = db.open();
        if (!opened)
            openError = db.lastError().text();
    }

    ~OtherStore()
    {
        QSqlDatabase::database(importConnection, false).close();
        QSqlDatabase::removeDatabase(importConnection);
    }

    OtherStore(const OtherStore &) = delete;
    OtherStore &operator=(const OtherStore &) = delete;

    bool isOpen() const { return opened; }
    QString error() const { return openError; }

    // SQLite opens any file, even random bytes; only a query tells a store.
    bool holdsStore() const
    {
        QSqlQuery query(database());
        return query.exec(QStringLiteral("select id, name from category where 0"))
            && query.exec(QStringLiteral("select id, type, name, categoryid from card where 0"))
            && query.exec(QStringLiteral("select id, title, value, cardid from content where 0"));
    }

    // Every id a positive integer and every shifted id or reference within int.
    bool idsFit(int categoryShift, int cardShift, int contentShift) const
    {
        return !hasRow(QStringLiteral("select 1 from category where typeof(id) <> 'integer' or id < 1 or id > ?"),
                       {upperBound(categoryShift)})
            && !hasRow(QStringLiteral("select 1 from card where typeof(id) <> 'integer' or id < 1 or id > ? "
                                      "or typeof(categoryid) <> 'integer' or categoryid < ? or categoryid > ?"),
                       {upperBound(cardShift), lowerBound(categoryShift), upperBound(categoryShift)})
            && !hasRow(QStringLiteral("select 1 from content where typeof(id) <> 'integer' or id < 1 or id > ? "
                                      "or typeof(cardid) <> 'integer' or cardid < ? or cardid > ?"),
                       {upperBound(contentShift), lowerBound(cardShift), upperBound(cardShift)});
    }

    // The expected password: an empty one when the file has no settings row.
    QString password() const
    {
        QSqlQuery query(database());
        if (query.exec(QStringLiteral("select password from option")) && query.next())
            return query.value(0).toString();
        return QString();
    }

    int rowTotal() const
    {
        int total = 0;
        QSqlQuery query(database());
        for (const char *statement :
             {"select count(*) from category", "select count(*) from card", "select count(*) from content"}) {
            if (query.exec(QLatin1String(statement)) && query.next())
                total += query.value(0).toInt();
        }
        return total;
    }

private:
    static QSqlDatabase database() { return QSqlDatabase::database(importConnection, false); }
    static qint64 upperBound(int shift) { return qint64(INT_MAX) - shift; }
    static qint64 lowerBound(int shift) { return qint64(INT_MIN) - shift; }

    bool hasRow(const QString &statement, const QList<qint64> &values) const
    {
        QSqlQuery query(database());
        query.prepare(statement + QLatin1String(" limit 1"));
        for (qint64 value : values)
            query.addBindValue(value);
        // A query that fails counts as a row: nothing is imported then.
        return !query.exec() || query.next();
    }

    bool opened = false;
    QString openError;
};

// The other store attached read-only to the store's own connection, so that
// SQLite copies the rows without passing each value through the driver.
// Detached whatever the outcome.
class Attachment
{
public:
    explicit Attachment(const QString &fileName)
    {
        QSqlQuery query;
        query.prepare(QStringLiteral("ATTACH DATABASE ? AS importdb"));
        query.addBindValue(readOnlyUri(fileName));
        attached = query.exec();
        if (!attached)
            attachError = query.lastError().text();
    }

    ~Attachment()
    {
        if (attached)
            QSqlQuery().exec(QStringLiteral("DETACH DATABASE importdb"));
    }

    Attachment(const Attachment &) = delete;
    Attachment &operator=(const Attachment &) = delete;

    bool isAttached() const { return attached; }
    QString error() const { return attachError; }

private:
    bool attached = false;
    QString attachError;
};

int copyRows(const QString &statement, const QList<int> &shifts, QString &error)
{
    QSqlQuery query;
    query.prepare(statement);
    for (int shift : shifts)
        query.addBindValue(shift);
    if (!query.exec()) {
        error = query.lastError().text();
        return -1;
    }
    return query.numRowsAffected();
}

} // namespace

QString MainWindow::chooseTransferFile(const QString &caption, bool forSaving)
{
    if (transferFileName)
        return transferFileName(caption);
    const QString filter = tr("Database File (*.db)");
    return forSaving ? QFileDialog::getSaveFileName(this, caption, QString(), filter)
                     : QFileDialog::getOpenFileName(this, caption, QString(), filter);
}

void MainWindow::exportCard()
{
    const QString target = chooseTransferFile(tr("Export Database"), true);
    if (target.isEmpty() || !savePendingEdits())
        return;
    const QString store = storeFilePath();
    if (isSameFile(target, store)) {
        QMessageBox::warning(this, tr("Export Database"),
                             tr("%1 is the open store itself. Choose another file name.")
                                 .arg(QDir::toNativeSeparators(target)),
                             QMessageBox::Ok);
        return;
    }
    QString error;
    if (!writeCopy(store, target, error)) {
        QMessageBox::warning(this, tr("Export Database"),
                             tr("The store could not be exported to %1:\n%2\n\n"
                                "A file that was there before is unchanged.")
                                 .arg(QDir::toNativeSeparators(target), error),
                             QMessageBox::Ok);
    }
}

void MainWindow::importCard()
{
    const QString chosen = chooseTransferFile(tr("Import Database"), false);
    if (chosen.isEmpty() || !savePendingEdits())
        return;

    // This connection cannot read a file while it writes the same file, so
    // the open store itself is imported from a copy.
    QTemporaryDir copyDir;
    QString source = chosen;
    if (isSameFile(chosen, storeFilePath())) {
        source = copyDir.filePath(QStringLiteral("nimbrel.db"));
        QString error = copyDir.errorString();
        if (!copyDir.isValid() || !writeCopy(storeFilePath(), source, error)) {
            QMessageBox::warning(this, tr("Import Database"),
                                 tr("A temporary copy of the store could not be made:\n%1").arg(error),
                                 QMessageBox::Ok);
            return;
        }
    }

    const OtherStore other(source);
    if (!other.isOpen()) {
        QMessageBox::warning(nullptr, tr("Database Error"), other.error(), QMessageBox::Ok);
        return;
    }
    if (!other.holdsStore()) {
        QMessageBox::warning(this, tr("Import Database"),
                             tr("%1 is not a card store: it has no tables of categories, cards and lines. "
                                "Nothing was imported.")
                                 .arg(QDir::toNativeSeparators(chosen)),
                             QMessageBox::Ok);
        return;
    }
    const int categoryShift = getMaxId(QStringLiteral("category"));
    const int cardShift = getMaxId(QStringLiteral("card"));
    const int contentShift = getMaxId(QStringLiteral("content"));
    if (!other.idsFit(categoryShift, cardShift, contentShift)) {
        QMessageBox::warning(this, tr("Import Database"),
                             tr("%1 holds ids that are not positive whole numbers, or that would grow "
                                "too large beside the ids of this store. Nothing was imported.")
                                 .arg(QDir::toNativeSeparators(chosen)),
                             QMessageBox::Ok);
        return;
    }

    const QString expected = other.password();
    ImportLogin login(this);
    if (login.exec() != QDialog::Accepted)
        return;
    if (login.password() != expected) {
        QMessageBox::information(this, tr("Passowrd Input"), tr("Incorrect password of Import Database."),
                                 QMessageBox::Ok);
        return;
    }

    const Attachment attachment(source);
    QString error = attachment.error();
    if (!attachment.isAttached()
        || !copyImportedRows(categoryShift, cardShift, contentShift, other.rowTotal(), error)) {
        QMessageBox::warning(this, tr("Import Database"),
                             tr("The import failed and nothing was imported:\n%1").arg(error), QMessageBox::Ok);
        return;
    }
    clearCategoryActions();
    loadCategoryActions();
    cardModel->select();
}

bool MainWindow::copyImportedRows(int categoryShift, int cardShift, int contentShift, int rowTotal,
                                  QString &error)
{
    // A rollback would cut short the card table's unfinished read.
    TableSupport::fetchAll(cardModel);

    QProgressBar progressBar(this);
    progressBar.setRange(0, rowTotal);
    connect(this, &MainWindow::setProgressValue, &progressBar, &QProgressBar::setValue);
    progressBar.setGeometry(width() / 4, height() / 2, width() / 2, 30);
    progressBar.show();

    QSqlDatabase store = QSqlDatabase::database();
    if (!store.transaction()) {
        error = store.lastError().text();
        return false;
    }
    int copied = 0;
    auto advance = [this, &copied](int rows) {
        if (rows < 0)
            return false;
        copied += rows;
        emit setProgressValue(copied);
        return true;
    };
    if (advance(insertCategoryRow(categoryShift, error)) && advance(insertCardRow(cardShift, categoryShift, error))
        && advance(insertContentRow(contentShift, cardShift, error))) {
        if (store.commit())
            return true;
        error = store.lastError().text();
    }
    store.rollback();
    return false;
}

int MainWindow::insertCategoryRow(int categoryShift, QString &error)
{
    return copyRows(QStringLiteral("insert into category select id + ?, name from importdb.category"),
                    {categoryShift}, error);
}

int MainWindow::insertCardRow(int cardShift, int categoryShift, QString &error)
{
    return copyRows(QStringLiteral("insert into card select id + ?, type, name, categoryid + ? from importdb.card"),
                    {cardShift, categoryShift}, error);
}

int MainWindow::insertContentRow(int contentShift, int cardShift, QString &error)
{
    return copyRows(
        QStringLiteral("insert into content select id + ?, title, value, cardid + ? from importdb.content"),
        {contentShift, cardShift}, error);
}

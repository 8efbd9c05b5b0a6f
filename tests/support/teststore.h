#ifndef TESTSTORE_H
#define TESTSTORE_H

#include <QStringList>
#include <QTemporaryDir>
#include <QVariant>

// A fresh card store in a temporary directory, open as the default connection
// for the life of the object, filled by `sql`: statements separated by ";".
// Keys are derived from then on at the smallest cost.
class TestStore
{
public:
    explicit TestStore(const QString &sql = QString());
    ~TestStore();

    QString dir() const { return tempDir.path(); }
    QString filePath() const;

    // Runs the statements; fails the test when one fails.
    void exec(const QString &sql) const;
    // The first column of the first row, or an invalid QVariant.
    QVariant value(const QString &statement) const;
    int count(const QString &table) const;
    // The rows of `table` that `where` selects, in id order, each as its
    // `columns` opened as the program shows them, joined by `separator`.
    static QStringList opened(const QString &table, const QStringList &columns, QChar separator,
                              const QString &where = QStringLiteral("1"));

    // Encrypts the open store under `password`; fails the test on refusal.
    static void encrypt(const QString &password);

    // Makes every later write of the store fail as on a read-only file.
    void makeReadOnly() const;

    // Overwrites the head of the first page of `table` in a closed store
    // file, as a failing disk would: SQLite's check then finds the damage.
    static void damageTable(const QString &path, const QString &table);

private:
    QTemporaryDir tempDir;
};

#endif

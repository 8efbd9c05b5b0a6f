#ifndef STOREIMPORT_H
#define STOREIMPORT_H

#include <QList>
#include <QString>

#include <functional>

// Another store attached read-only to the store's own connection, so that
// SQLite copies its rows without passing each value through the driver.
// Detached with the object, whatever the outcome.
class StoreImport
{
public:
    explicit StoreImport(const QString &fileName);
    ~StoreImport();

    StoreImport(const StoreImport &) = delete;
    StoreImport &operator=(const StoreImport &) = delete;

    bool isAttached() const { return attached; }
    QString error() const { return attachError; }

    // Each copies its whole table from the attached store with the ids and
    // references shifted; the number of rows copied, or -1 with the driver's
    // text in `error`.
    static int copyCategories(int categoryShift, QString *error);
    static int copyCards(int cardShift, int categoryShift, QString *error);
    static int copyLines(int contentShift, int cardShift, QString *error);

    // One step of a copy: rows copied, or -1 with the driver's text.
    using Step = std::function<int(QString *error)>;

    // Runs the steps in one transaction, telling `progress` the rows copied
    // so far after each. All or nothing: on failure everything is rolled
    // back and `error` holds the driver's text.
    static bool copyAll(const QList<Step> &steps, const std::function<void(int copied)> &progress,
                        QString *error);

private:
    bool attached = false;
    QString attachError;
};

#endif

#include "otherprogram.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QtTest>

OtherProgram::OtherProgram(const QString &filePath, const QString &begin)
    : name(QStringLiteral("otherprogram%1").arg(quintptr(this))) // unique among the live connections
{
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
    db.setDatabaseName(filePath);
    db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=0"));
    if (!db.open() || (!begin.isEmpty() && !exec(begin)))
        QTest::qFail(qPrintable(QStringLiteral("cannot hold %1: %2").arg(filePath, error)), __FILE__, __LINE__);
}

OtherProgram::~OtherProgram()
{
    release();
    QSqlDatabase::database(name, false).close();
    QSqlDatabase::removeDatabase(name);
}

bool OtherProgram::exec(const QString &sql)
{
    QSqlQuery query(QSqlDatabase::database(name, false));
    if (query.exec(sql))
        return true;
    error = query.lastError().text();
    return false;
}

void OtherProgram::release()
{
    QSqlQuery(QSqlDatabase::database(name, false)).exec(QStringLiteral("ROLLBACK"));
}

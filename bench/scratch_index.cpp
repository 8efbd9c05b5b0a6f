#include "teststore.h"
#include "store/cardtextindex.h"
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QSqlQuery>
#include <cstdio>
int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    TestStore store;
    QSqlQuery q;
    q.exec("insert into category values(1, 'Bench')");
    q.exec("with recursive n(i) as (select 1 union all select i + 1 from n where i < 100000) insert into card select i, i % 18 + 1, 'card ' || i, 1 from n");
    q.exec("with recursive n(i) as (select 0 union all select i + 1 from n where i < 999999) insert into content select i + 1, 'Title ' || (i % 10), case when i % 10 = 9 then '东南西北大小 ' || i else 'value ' || (i % 10) || ' of card ' || (i / 10 + 1) end, i / 10 + 1 from n");
    CardTextIndex &index = CardTextIndex::instance();
    const int runs = argc > 1 ? atoi(argv[1]) : 5;
    for (int i = 0; i < runs; ++i) {
        index.forget();
        QElapsedTimer t;
        t.start();
        index.update();
        std::printf("build_ms: %.1f\n", t.nsecsElapsed() / 1e6);
    }
    const auto timeQuery = [](const char *name, const QString &sql, int cols) {
        QSqlDatabase::database().transaction();
        QSqlQuery r; r.setForwardOnly(true);
        QElapsedTimer t; t.start();
        r.exec(sql);
        qint64 sum = 0;
        while (r.next()) for (int c = 0; c < cols; ++c) sum += r.value(c).toByteArray().size();
        std::printf("%s: %.1f ms (%lld)\n", name, t.nsecsElapsed() / 1e6, static_cast<long long>(sum));
        r.finish();
        QSqlDatabase::database().commit();
    };
    for (int i = 0; i < 3; ++i) {
    timeQuery("sql sum", "SELECT sum(length(CAST(title AS BLOB)) + length(CAST(value AS BLOB)) + cardid) FROM content", 1);
    timeQuery("next 1 col", "SELECT cardid FROM content", 0);
    timeQuery("next 3 cols", "SELECT cardid, CAST(title AS BLOB), CAST(value AS BLOB) FROM content", 0);
    timeQuery("three cols", "SELECT cardid, CAST(title AS BLOB), CAST(value AS BLOB) FROM content", 3);
    }
    return 0;
}

#include "vaultdriver.h"

#include <QAction>
#include <QFile>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QTableView>
#include <QtTest>

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeFile(const QString &path, const QByteArray &contents, QFileDevice::Permissions more)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(contents) == contents.size()
        && file.setPermissions(file.permissions() | more);
}

void typeInto(QTableView *view, int row, int column, const QString &text, bool enter)
{
    const QModelIndex cell = view->model()->index(row, column);
    view->setCurrentIndex(cell);
    if (!view->indexWidget(cell))
        view->edit(cell);
    auto *editor = qobject_cast<QLineEdit *>(view->indexWidget(cell));
    QVERIFY(editor);
    editor->selectAll();
    editor->insert(text);
    if (enter) {
        QTest::keyClick(editor, Qt::Key_Return);
        // The delegate commits an entered text from a queued call.
        QTRY_VERIFY(!view->indexWidget(cell));
    }
}

void trigger(QWidget *window, const QString &text)
{
    for (QAction *action : window->findChildren<QAction *>())
        if (action->text() == text && !action->menu())
            return action->trigger();
    QFAIL(qPrintable("no entry " + text));
}

void typeFind(QWidget *window, const QString &text)
{
    trigger(window, QStringLiteral("&Find..."));
    auto *field = window->findChild<QLineEdit *>(QStringLiteral("findField"));
    field->clear();
    QInputMethodEvent typing;
    typing.setCommitString(text);
    QCoreApplication::sendEvent(field, &typing);
    QTest::qWait(300);
}

QString categoryEntries(QWidget *window)
{
    QStringList entries;
    for (QAction *action : window->findChild<QMenuBar *>()->actions().value(0)->menu()->actions()) {
        if (action->isCheckable() && action->text() != QLatin1String("&All"))
            entries << action->data().toString() + QLatin1Char(':') + action->text();
    }
    return entries.join(QLatin1Char(','));
}

QString shownCards(QWidget *window, int column)
{
    const QAbstractItemModel *cards = window->findChild<QTableView *>(QStringLiteral("cardView"))->model();
    QStringList shown;
    for (int row = 0; row < cards->rowCount(); ++row)
        shown << cards->index(row, column).data().toString();
    return shown.join(QLatin1Char(','));
}

QStringList misplacedWidgets(QWidget *window)
{
    QList<QWidget *> shown;
    for (QWidget *widget : window->findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
        if (widget->isVisible() && !widget->isWindow())
            shown << widget;
    }
    const auto name = [](const QWidget *widget) {
        return widget->objectName().isEmpty() ? QString::fromLatin1(widget->metaObject()->className())
                                              : widget->objectName();
    };
    QStringList found;
    for (qsizetype i = 0; i < shown.size(); ++i) {
        if (!window->rect().contains(shown.at(i)->geometry()))
            found << name(shown.at(i)) + QStringLiteral(" outside");
        for (qsizetype j = i + 1; j < shown.size(); ++j) {
            if (shown.at(i)->geometry().intersects(shown.at(j)->geometry()))
                found << name(shown.at(i)) + QLatin1Char('/') + name(shown.at(j));
        }
    }
    return found;
}

#include "mainwindow/mainwindow.h"
#include "modalanswer.h"
#include "teststore.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDesktopServices>
#include <QLabel>
#include <QScrollBar>
#include <QTextDocumentFragment>
#include <QTextEdit>
#include <QTranslator>
#include <QUrl>
#include <QtTest>
#include <memory>

namespace {

const char *const helpText =
    "<p align='center'><b>Help</b></p>"
    "<b>Main view:</b> <ul> <li>Press button <font color=blue>Add</font> to add a new card, and press button <font color=blue>Open</font> to open current indexical card.</li>"
    " <li>Double click <font color=blue>Category</font> column to select category which can edit at <font color=blue>Edit Category</font> dialog.</li>"
    " <li>Double click <font color=blue>Type</font> column to select card type, these type contain email account, password, address, conatact and so on.</li>"
    "<li>Press <font color=blue>Close</font> button can close application and save all cards changed and added.</li>"
    " </ul><b>Category menu:</b> <ul> <li><font color=blue>Edit:</font> open <font color=blue>Edit Category</font> dialog to edit card category.</li>"
    "<li><font color=blue>All:</font> display all cards in main view.</li>"
    " </ul><b>Card menu:</b> <ul> <li><font color=blue>Open:</font> open current indexical card in a popup dialog.</li>"
    "<li><font color=blue>Add:</font> add a new card.</li>"
    " <li><font color=blue>Delete:</font> delete a card which is current indexical, application will popup a dialog to query you if delete or not.</li>"
    " </ul><b>Options menu:</b> <ul> <li><font color=blue>Set Password:</font> pop up <font color=blue>Set Password</font> dialog, you must type old password, and input new password and type again to confirm it.</li>"
    "<li><font color=blue>Language:</font> select a language, contain English and Simple chinese in this application, if switch to another language, that language will available after restart application.</li>"
    " </ul><b>Edit Category dialog:</b> <ul> <li>Press button <font color=blue>Add</font> to add a new category, after typed category name, must press <font color=red>Enter</font> to submit.</li>"
    "<li>Press button <font color=blue>Delete</font> to delete a category, if any cards associated with this category, this category cannot delete.</li>"
    "<li>Double click category name to modify it, must press <font color=red>Enter</font> to submit after modified.</li>"
    " </ul><b>Card dialog:</b> <ul> <li>Press <font color=blue>Add Line</font> button to add a new line, press <font color=blue>Close</font> button to close dialog and save all data changed and added and deleted.</li>"
    "<li><font color=blue>Menu:</font></li>"
    " <ul><li><font color=blue>Copy:</font> copy current indexical unit's data to clipboard.</li>"
    "<li><font color=blue>Paste:</font> paste clipboard's data to current indexical unit.</li>"
    "<li><font color=blue>Add Line:</font> add a new line.</li>"
    "<li><font color=blue>Delete Line:</font> delete a line.</li>"
    "<li><font color=blue>Close:</font> close dialog and save all data changed and added and deleted.</li></ul> </ul>";

// Hands out a stand-in for the help page and notes what was asked of it.
class HelpTranslator : public QTranslator
{
public:
    QString translate(const char *context, const char *sourceText, const char *, int) const override
    {
        if (qstrcmp(context, "MainWindow") == 0 && qstrcmp(sourceText, helpText) == 0) {
            ++helpLookups;
            return QStringLiteral("<p>Hilfe <b>ganz</b></p>");
        }
        return QString();
    }
    bool isEmpty() const override { return false; }

    mutable int helpLookups = 0;
};

} // namespace

// Stands in for the desktop: receives what QDesktopServices::openUrl is given.
class UrlCatcher : public QObject
{
    Q_OBJECT

public:
    QList<QUrl> urls;

public slots:
    void open(const QUrl &url) { urls << url; }
};

class TestHelpAbout : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void helpCreatedOnceAndShownAgain();
    void helpShowsTheHelpPage();
    void helpPageIsTranslatedAsAWhole();
    void helpReadOnlyButSelectable();
    void aboutDialogAndItsLinks();

private:
    QAction *entry(const QString &text) const;
    QTextEdit *openHelp();
    QList<QTextEdit *> helpWindows() const;

    std::unique_ptr<TestStore> store;
    MainWindow *window = nullptr;
};

void TestHelpAbout::init()
{
    store = std::make_unique<TestStore>();
    window = new MainWindow;
    window->setGeometry(100, 120, 800, 600);
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window));
}

void TestHelpAbout::cleanup()
{
    delete window;
    window = nullptr;
    store.reset();
}

QAction *TestHelpAbout::entry(const QString &text) const
{
    for (QAction *action : window->findChildren<QAction *>(Qt::FindDirectChildrenOnly)) {
        if (action->text() == text)
            return action;
    }
    return nullptr;
}

QList<QTextEdit *> TestHelpAbout::helpWindows() const
{
    QList<QTextEdit *> windows;
    for (QTextEdit *edit : window->findChildren<QTextEdit *>()) {
        if (edit->isWindow())
            windows << edit;
    }
    return windows;
}

QTextEdit *TestHelpAbout::openHelp()
{
    QAction *help = entry(QStringLiteral("&Help"));
    if (!help)
        return nullptr;
    help->trigger();
    return helpWindows().value(0);
}

void TestHelpAbout::helpCreatedOnceAndShownAgain()
{
    QTextEdit *help = openHelp();
    QVERIFY(help);
    QVERIFY(QTest::qWaitForWindowExposed(help));
    QCOMPARE(help->parentWidget(), window);
    QCOMPARE(help->windowType(), Qt::Dialog);
    QVERIFY(!help->isModal());
    QCOMPARE(help->windowTitle(), QStringLiteral("Help"));
    QVERIFY(!help->windowIcon().isNull());
    QCOMPARE(help->geometry(), QRect(140, 160, 720, 520));

    // The user scrolls, moves and closes it; the main window changes meanwhile.
    help->verticalScrollBar()->setValue(help->verticalScrollBar()->maximum());
    const int scrolled = help->verticalScrollBar()->value();
    QVERIFY(scrolled > 0);
    help->setGeometry(300, 310, 400, 300);
    help->close();
    QVERIFY(!help->isVisible());
    window->setGeometry(50, 60, 1000, 700);

    QCOMPARE(openHelp(), help);
    QVERIFY(help->isVisible());
    QCOMPARE(helpWindows().size(), 1);
    QCOMPARE(help->geometry(), QRect(300, 310, 400, 300));
    QCOMPARE(help->verticalScrollBar()->value(), scrolled);

    // A second choice while it is open shows the same window.
    QCOMPARE(openHelp(), help);
    QCOMPARE(helpWindows().size(), 1);
}

void TestHelpAbout::helpShowsTheHelpPage()
{
    QTextEdit *help = openHelp();
    QVERIFY(help);
    QTextEdit reference;
    reference.setText(QString::fromLatin1(helpText));
    QCOMPARE(help->toHtml(), reference.toHtml());
    QVERIFY(help->toPlainText().startsWith(QLatin1String("Help\nMain view:")));
}

void TestHelpAbout::helpPageIsTranslatedAsAWhole()
{
    HelpTranslator translator;
    QCoreApplication::installTranslator(&translator);
    QTextEdit *help = openHelp();
    QCoreApplication::removeTranslator(&translator);

    QVERIFY(help);
    QCOMPARE(translator.helpLookups, 1);
    QCOMPARE(help->toPlainText(), QStringLiteral("Hilfe ganz"));
}

void TestHelpAbout::helpReadOnlyButSelectable()
{
    QTextEdit *help = openHelp();
    QVERIFY(help);
    QVERIFY(QTest::qWaitForWindowActive(help));
    const QString page = help->toPlainText();

    help->setFocus();
    QTest::keyClicks(help, "typed");
    QTest::keyClick(help, Qt::Key_Delete);
    QTest::keyClick(help, Qt::Key_Backspace);
    QCOMPARE(help->toPlainText(), page);

    // Drag over the first lines with the mouse, then copy.
    QWidget *viewport = help->viewport();
    const QPoint from(5, 5);
    const QPoint to(viewport->width() / 2, 60);
    QTest::mousePress(viewport, Qt::LeftButton, {}, from);
    QTest::mouseMove(viewport, to);
    QTest::mouseRelease(viewport, Qt::LeftButton, {}, to);
    const QString selected = help->textCursor().selectedText();
    QVERIFY(!selected.isEmpty());

    QApplication::clipboard()->clear();
    QTest::keyClick(help, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QApplication::clipboard()->text(), help->textCursor().selection().toPlainText());
    QCOMPARE(help->toPlainText(), page);
}

void TestHelpAbout::aboutDialogAndItsLinks()
{
    UrlCatcher desktop;
    for (const QString &scheme : {QString(), QStringLiteral("mailto"), QStringLiteral("http"),
                                  QStringLiteral("https")})
        QDesktopServices::setUrlHandler(scheme, &desktop, "open");

    QStringList texts;
    QString title;
    bool picture = false;
    bool icon = false;
    onNextModal([&](QWidget *about) {
        title = about->windowTitle();
        icon = !about->windowIcon().isNull();
        QLabel *site = nullptr;
        QLabel *mail = nullptr;
        for (QLabel *label : about->findChildren<QLabel *>()) {
            if (label->text().isEmpty()) {
                picture = !label->pixmap().isNull();
                continue;
            }
            texts << label->text();
            if (label->text().contains(QLatin1String("mailto:")))
                mail = label;
            else if (label->text().contains(QLatin1String("<a ")))
                site = label;
        }
        if (site)
            QTest::mouseClick(site, Qt::LeftButton, {}, QPoint(site->contentsRect().left() + 4, site->height() / 2));
        if (mail) {
            const int x = mail->fontMetrics().horizontalAdvance(QStringLiteral("E-mail: ")) + 4;
            QTest::mouseClick(mail, Qt::LeftButton, {}, QPoint(mail->contentsRect().left() + x, mail->height() / 2));
        }
        QTest::keyClick(about, Qt::Key_Escape);
    });
    entry(QStringLiteral("&About"))->trigger();

    for (const QString &scheme : {QString(), QStringLiteral("mailto"), QStringLiteral("http"),
                                  QStringLiteral("https")})
        QDesktopServices::unsetUrlHandler(scheme);

    QCOMPARE(title, QStringLiteral("About"));
    QVERIFY(icon);
    QVERIFY(picture);
    QCOMPARE(texts.size(), 4);
    QCOMPARE(texts.at(0), QStringLiteral("<b>Nimbrel  v2.12</b>"));
    QVERIFY(texts.at(3).contains(QLatin1String("2026")));
    QCOMPARE(desktop.urls.size(), 2);
    QCOMPARE(desktop.urls.at(0).toString(), QStringLiteral("www.nimbrel.example.org"));
    QCOMPARE(desktop.urls.at(1).toString(), QStringLiteral("mailto:support@nimbrel.example.org"));
    QCOMPARE(texts.at(1), QStringLiteral("<a href=\"www.nimbrel.example.org\">www.nimbrel.example.org</a>"));
    QCOMPARE(texts.at(2), QStringLiteral("E-mail: <a href=\"mailto:support@nimbrel.example.org\">"
                                         "support@nimbrel.example.org</a>"));
    // The dialog lived for one run only.
    QTRY_VERIFY(window->findChildren<QDialog *>().isEmpty());
}

QTEST_MAIN(TestHelpAbout)
#include "tst_helpabout.moc"

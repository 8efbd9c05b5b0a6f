// The card table, the card editor and the delegate as a user drives them,
// checked against the store.
#include "vaulttest.h"

#include "cardeditor/cardform.h"
#include "cardeditor/clipboardguard.h"
#include "cardeditor/mydelegate.h"
#include "cardeditor/passwordgenerator.h"

class TestCards : public QObject
{
    Q_OBJECT

private slots:
    void cleanup()
    {
        window.reset();
        store.reset();
    }

    void bigStoreAddsAndDeletesTheRightCard()
    {
        // Far more cards than a table model reads at once.
        open("insert into category values(1, 'Home');"
             "with recursive n(i) as (select 1 union all select i + 1 from n where i < 10000) "
             "insert into card select i, i % 18 + 1, 'card ' || i, 1 from n");
        view()->setCurrentIndex(view()->model()->index(0, 2));
        QTest::keyClick(view(), Qt::Key_End, Qt::ControlModifier);
        QCOMPARE(view()->currentIndex().siblingAtColumn(2).data().toString(), QString("card 10000"));

        // Nothing is left open on the file: another program can write to it.
        OtherProgram other(store->filePath());
        QVERIFY2(other.exec("insert into category values(7, 'Work')"), qPrintable(other.error));

        // The new card is in sight with its editor, in the category of the largest id, named.
        view()->scrollToTop();
        auto *add = window->findChild<QPushButton *>("addButton");
        QCOMPARE(add->toolTip(), QString("add a new card"));
        QTest::mouseClick(add, Qt::LeftButton);
        QCOMPARE(stored("select type || ',' || name || ',' || categoryid from card where id = 10001"),
                 QString("13,card name,7"));
        const QModelIndex added = view()->currentIndex();
        QVERIFY(view()->viewport()->rect().contains(view()->visualRect(added)));
        QVERIFY(view()->indexWidget(added) && view()->indexWidget(added)->isVisible());
        typeInto(view(), added.row(), 2, "mine");
        QVERIFY(window->savePendingEdits());
        QCOMPARE(stored("select name from card where id = 10001"), QString("mine"));
        QCOMPARE(delegate()->shownName(added.siblingAtColumn(3)), QString("Work"));

        // Painting under another program's lock draws the same names at once.
        const QImage unlocked = view()->viewport()->grab().toImage();
        OtherProgram holder(store->filePath(), "BEGIN EXCLUSIVE");
        QCOMPARE(view()->viewport()->grab().toImage(), unlocked);
        holder.release();

        // The question names the chosen card as plain text, and No is its default.
        view()->setCurrentIndex(view()->model()->index(5149, 2));
        ModalAnswer no("delete card 5150", QMessageBox::No, [](QWidget *modal) {
            auto *box = qobject_cast<QMessageBox *>(modal);
            QCOMPARE(box->text(), QString("Do you want to delete card 5150?"));
            QCOMPARE(box->defaultButton(), box->button(QMessageBox::No));
        });
        trigger(window.get(), "&Delete");
        QCOMPARE(store->count("card"), 10001);
        ModalAnswer yes("delete card 5150", QMessageBox::Yes);
        trigger(window.get(), "&Delete");
        QCOMPARE(stored("select count(*) || ',' || sum(id = 5150) || ',' || sum(id in (5149, 5151)) from card"),
                 QString("10000,0,2"));
    }

    void lockedStoreLosesNothing()
    {
        open("insert into card values(1, 13, 'a', 0), (2, 13, 'b', 0);"
             "insert into content values(1, 'A', 'a', 1), (2, 'B', 'b', 2)");
        {
            // The first opening learns the columns from the store, once it answers.
            OtherProgram holder(store->filePath(), "BEGIN EXCLUSIVE");
            ModalAnswer unread("Read Error");
            openRow(0);
        }
        // An editor that has read lines once reads them again as its filter changes.
        openRow(0);
        view()->setCurrentIndex(view()->model()->index(1, 2));
        {
            OtherProgram holder(store->filePath(), "BEGIN EXCLUSIVE");
            ModalAnswer yes("delete b", QMessageBox::Yes);
            ModalAnswer failure("Write Error");
            trigger(window.get(), "&Delete");
            QVERIFY2(failure.text.startsWith("The store is being used by another program. Nothing was lost: "
                                             "try again in a moment.\ndatabase is locked"),
                     qPrintable(failure.text));
            // A card added now would get a guessed category: none is added, with one message.
            ModalAnswer refused("Write Error");
            trigger(window.get(), "&Add");
            QCOMPARE(view()->model()->rowCount(), 2);
            // An editor that cannot read the card's lines does not stay open on blank ones.
            ModalAnswer unread("Read Error");
            QVERIFY(window->findChild<CardForm *>()->isVisible());
            openRow(1);
            QVERIFY(!window->findChild<CardForm *>()->isVisible());
        }
        QCOMPARE(lineView()->model()->columnCount(), 4);
        QCOMPARE(store->count("card") + store->count("content"), 4);
        QCOMPARE(view()->model()->rowCount(), 2);
        QCOMPARE(view()->model()->columnCount(), 4);
        openRow(0);
        QVERIFY(window->findChild<CardForm *>()->isVisible());
        QCOMPARE(lineView()->model()->index(0, 2).data().toString(), QString("a"));
        ModalAnswer yes("delete b", QMessageBox::Yes);
        view()->setCurrentIndex(view()->model()->index(1, 2));
        trigger(window.get(), "&Delete");
        QCOMPARE(stored("select group_concat(name) from card"), QString("a"));
        QCOMPARE(stored("select group_concat(cardid) from content"), QString("1"));
    }

    void editorWritesItsLines()
    {
        open("insert into card values(1, 3, 'mail', 0), (2, 10, 'other', 0), (3, 99, 'odd', 0);"
             "insert into content values(1, 'Kept', 'x', 2)");
        openRow(0);
        auto *form = window->findChild<CardForm *>();
        QCOMPARE(form->shownCard(), 1);
        QAbstractItemModel *lines = lineView()->model();
        // The first value cell is open; its typing is written when the card is opened again.
        QVERIFY(lineView()->indexWidget(lines->index(0, 2)));
        typeInto(lineView(), 0, 2, "typed", false);
        openRow(0);
        QCOMPARE(stored("select group_concat(title || '=' || value) from content where cardid = 1"),
                 QString("System=typed,Username=,Password=,Note="));
        // It opens at its first value; Return moves down the values and never adds a line.
        QCOMPARE(lineView()->currentIndex(), lines->index(0, 2));
        for (int i = 0; i < 4; ++i)
            QTest::keyClick(lineView(), Qt::Key_Return);
        QCOMPARE(lines->rowCount(), 4);
        QCOMPARE(lineView()->currentIndex(), lines->index(3, 2));
        // Other keys move as in any table.
        QTest::keyClick(lineView(), Qt::Key_Up);
        QCOMPARE(lineView()->currentIndex(), lines->index(2, 2));

        // "&Delete Line" deletes the line the user chose.
        lineView()->setCurrentIndex(lines->index(1, 1));
        trigger(form, "&Delete Line");
        QCOMPARE(stored("select group_concat(title) from content where cardid = 1"), QString("System,Password,Note"));
        // A line left without title and value is not stored.
        trigger(form, "&Add Line");
        QVERIFY(form->writePending());
        QCOMPARE(lines->rowCount(), 3);

        // A failed write is reported and keeps the dialog and its card.
        typeInto(lineView(), 0, 2, "precious");
        store->makeReadOnly();
        {
            ModalAnswer failure("Write Error");
            QVERIFY(!form->close());
            QVERIFY2(failure.text.contains("readonly"), qPrintable(failure.text));
        }
        QVERIFY(form->isVisible());
        store->exec("PRAGMA query_only = OFF");
        // Switching writes the edit, and the other card shows its own lines only.
        openRow(1);
        QCOMPARE(form->shownCard(), 2);
        QCOMPARE(lines->rowCount(), 1);
        QCOMPARE(stored("select value from content where id = 1"), QString("x"));
        QCOMPARE(stored("select value from content where cardid = 1 and title = 'System'"), QString("precious"));
        // A type this program does not know brings no lines.
        openRow(2);
        QCOMPARE(lines->rowCount(), 0);
    }

    void closingWritesOrAsks()
    {
        open("insert into card values(1, 13, 'first', 0), (2, 18, 'second', 0)");
        typeInto(view(), 0, 2, QString::fromUtf8("it's \"银行\" %1"), false);
        QTest::mouseClick(window->findChild<QPushButton *>("closeButton"), Qt::LeftButton);
        QVERIFY(!window->isVisible());
        QCOMPARE(stored("select group_concat(name) from card"), QString::fromUtf8("it's \"银行\" %1,second"));

        window->show();
        store->makeReadOnly();
        {
            // The refused card is not left in the table to be written later.
            ModalAnswer failure("Write Error");
            trigger(window.get(), "&Add");
        }
        QCOMPARE(view()->model()->rowCount(), 2);
        typeInto(view(), 1, 2, "renamed");
        {
            ModalAnswer failure("Write Error");
            ModalAnswer keep("Close Nimbrel", QMessageBox::No);
            window->close();
        }
        QVERIFY(window->isVisible());
        QCOMPARE(view()->model()->index(1, 2).data().toString(), QString("renamed"));
        QCOMPARE(stored("select name from card where id = 2"), QString("second"));
    }

    void encryptedStoreWorksAsAPlainOne()
    {
        store = std::make_unique<TestStore>("insert into category values(1, 'Home'), (2, 'Work');"
                                            "insert into card values(1, 3, 'mail', 2), (2, 10, 'other', 1);"
                                            "insert into content values(1, 'Kept', 'x', 2)");
        TestStore::encrypt("secret");
        window = std::make_unique<MainWindow>();
        window->show();
        QCOMPARE(shownCards(window.get()), QString("mail,other"));
        QCOMPARE(categoryEntries(window.get()), QString("1:Home,2:Work"));
        QCOMPARE(delegate()->shownName(view()->model()->index(0, 3)), QString("Work"));

        openRow(0);
        QCOMPARE(window->findChild<CardForm *>()->windowTitle(), QString("mail"));
        typeInto(lineView(), 0, 2, "typed", false);
        openRow(1);
        QCOMPARE(lineView()->model()->index(0, 1).data().toString() + "="
                     + lineView()->model()->index(0, 2).data().toString(),
                 QString("Kept=x"));
        typeInto(view(), 1, 2, "renamed");
        QVERIFY(window->savePendingEdits());
        QCOMPARE(TestStore::opened("content", {"title", "value"}, '=', "cardid = 1"),
                 QStringList({"System=typed", "Username=", "Password=", "Note="}));
        QCOMPARE(TestStore::opened("card", {"name"}, '='), QStringList({"mail", "renamed"}));
        QCOMPARE(
            stored("select count(*) from content where value || title not like 'nimbrel-sealed:1:%nimbrel-sealed:1:%'"),
            QString("0"));
        QCOMPARE(stored("select count(*) from card where name not like 'nimbrel-sealed:1:%'"), QString("0"));
    }

    void everyTypeHasItsNameIconAndLines_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("icon");
        QTest::addColumn<QString>("lines");
        const auto row = [](int type, const char *name, const char *icon, const char *lines) {
            QTest::addRow("%d", type) << type << QString(name) << QString(icon) << QString(lines);
        };
        row(1, "Address", ":/cardicon/address.png", "First Name,Last Name,Address,City,State,Country,Note");
        row(2, "Bank Account", ":/cardicon/bank.png", "Bank,Account,Password,SWIFT,Note");
        row(3, "Computer Account", ":/cardicon/computer.png", "System,Username,Password,Note");
        row(4, "Contact", ":/cardicon/contact.png", "First Name,Last Name,Phone,eMail,Company,Address,Note");
        row(5, "Credit Card", ":/cardicon/credit.png", "Bank,First Name,Last Name,Card NO.,CVC Code,Expires,PIN,Note");
        row(6, "Database Account", ":/cardicon/database.png", "Database,Username,Password,Note");
        row(7, "eBank Account", ":/cardicon/ebank.png",
            "eBank,First Name,Last Name,Account,Username,Password,Trade Code,URL,SWIFT,Note");
        row(8, "eBay Account", ":/cardicon/ebay.png", "User ID,Password,Question,Answer,Note");
        row(9, "eMail Account", ":/cardicon/email.png", "Site Name,Username,Password,URL,POP3,SMTP,Note");
        row(10, "General Purpose", ":/cardicon/general.png", "Card Name,Note");
        row(11, "Master Card", ":/cardicon/master.png", "Bank,First Name,Last Name,Card NO.,CVC Code,Expires,PIN,Note");
        row(12, "Mobile Phone", ":/cardicon/mobilephone.png", "Phone,Password,PIN,PIN2,Note");
        row(13, "Password", ":/cardicon/password.png", "System,Username,Password,Note");
        row(14, "Paypal Account", ":/cardicon/paypal.png",
            "Username,Password,Question1,Answer1,Question2,Answer2,Note");
        row(15, "Serial Number", ":/cardicon/serial.png", "Brand,Serial NO.,Model NO.,Note");
        row(16, "Taobao Account", ":/cardicon/taobao.png", "Username,Password,Trade Code,Question,Answer,Note");
        row(17, "Visa Card", ":/cardicon/visa.png", "Bank,First Name,Last Name,Card NO.,CVC Code,Expires,PIN,Note");
        row(18, "Website", ":/cardicon/website.png", "Site Name,Username,Password,URL,Note");
    }

    void everyTypeHasItsNameIconAndLines()
    {
        QFETCH(int, type);
        QFETCH(QString, name);
        QFETCH(QString, icon);
        open(QString("insert into card values(4, %1, 'c', 0)").arg(type));
        QCOMPARE(stored(QString("select name from cardtype where id = %1").arg(type)), name);
        QCOMPARE(delegate()->shownName(view()->model()->index(0, 1)), name);
        QCOMPARE(delegate()->iconPath(type), icon);
        QCOMPARE(QImage(icon).size(), QSize(32, 32));
        const QRect cell = view()->visualRect(view()->model()->index(0, 1));
        const QImage drawn = view()->viewport()->grab(QRect(cell.topLeft(), QSize(32, cell.height()))).toImage();
        QVERIFY(drawn.pixel(16, cell.height() / 2) != drawn.pixel(0, 0) || drawn.pixel(8, 12) != drawn.pixel(0, 0));
        // Opened without lines, the card gets its type's, written when the editor closes.
        openRow(0);
        QVERIFY(window->findChild<CardForm *>()->close());
        QTEST(stored("select group_concat(title) from (select title from content where cardid = 4 order by id)"),
              "lines");
    }

    void chosenTypeOrCategoryIsStoredAsItsId_data()
    {
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<QString>("stored");
        QTest::newRow("type") << 1 << QString("Password") << QString("Paypal Account") << QString("14,5");
        QTest::newRow("category") << 3 << QString("Home") << QString("Work") << QString("13,9");
    }

    void chosenTypeOrCategoryIsStoredAsItsId()
    {
        QFETCH(int, column);
        // Ids that are not the entries' positions.
        open("insert into category values(5, 'Home'), (9, 'Work'); insert into card values(1, 13, 'a', 5)");
        const QModelIndex cell = view()->model()->index(0, column);
        view()->setCurrentIndex(cell);
        view()->edit(cell);
        auto *combo = qobject_cast<QComboBox *>(view()->indexWidget(cell));
        QVERIFY(combo);
        QTEST(combo->currentText(), "shown");
        QTest::keyClick(combo, Qt::Key_Down);
        QTEST(combo->currentText(), "chosen");
        QTest::keyClick(combo, Qt::Key_Return);
        QTRY_VERIFY(!view()->indexWidget(cell));
        QVERIFY(window->savePendingEdits());
        QTEST(stored("select type || ',' || categoryid from card"), "stored");
    }

    void editorOnADeletedCardWritesNoLines()
    {
        open("insert into card values(1, 18, 'gone', 0)");
        openRow(0);
        auto *form = window->findChild<CardForm *>();
        typeInto(lineView(), 0, 2, "typed", false);
        view()->setCurrentIndex(view()->model()->index(0, 2));
        {
            ModalAnswer yes("delete gone", QMessageBox::Yes);
            trigger(window.get(), "&Delete");
        }
        QVERIFY(!form->isVisible() && form->writePending());
        QCOMPARE(stored("select count(*) from content"), QString("0"));
        // The next card gets the deleted one's id, and its own template lines.
        trigger(window.get(), "&Add");
        QCOMPARE(stored("select group_concat(id) from card"), QString("1"));
        openRow(0);
        QVERIFY(form->close());
        QCOMPARE(stored("select group_concat(title || '=' || value) from content where cardid = 1"),
                 QString("System=,Username=,Password=,Note="));
    }

    void generatesIntoTheChosenValueAndAsksBeforeReplacing()
    {
        open("insert into card values(1, 13, 'a', 0); insert into content values(1, 'Password', 'pw', 1)");
        openRow(0);
        auto *form = window->findChild<CardForm *>();
        QAbstractItemModel *lines = lineView()->model();
        trigger(form, "&Add Line");
        // A title chosen: nothing is generated.
        lineView()->setCurrentIndex(lines->index(1, 1));
        trigger(form, "&Generate Password");
        QCOMPARE(lines->index(1, 1).data().toString() + lines->index(1, 2).data().toString(), QString());
        // An empty value is filled at once.
        lineView()->setCurrentIndex(lines->index(1, 2));
        trigger(form, "&Generate Password");
        QCOMPARE(lines->index(1, 2).data().toString().size(), 20);
        // A filled one only when the user agrees: Enter is No.
        lineView()->setCurrentIndex(lines->index(0, 2));
        {
            ModalAnswer enter("Generate Password", QMessageBox::Ok, [](QWidget *box) {
                QCOMPARE(qobject_cast<QMessageBox *>(box)->text(), QString("Replace this value with a new password?"));
                QTest::keyClick(box, Qt::Key_Return);
                QVERIFY(!box->isVisible());
            });
            trigger(form, "&Generate Password");
        }
        QCOMPARE(lines->index(0, 2).data().toString(), QString("pw"));
        {
            ModalAnswer yes("Generate Password", QMessageBox::Yes);
            trigger(form, "&Generate Password");
        }
        trigger(form, "&Copy");
        QCOMPARE(QGuiApplication::clipboard()->text().size(), 20);
        QVERIFY(form->close());
        QCOMPARE(stored("select count(*) from content where length(value) = 20"), QString("2"));
    }

    void generatedPasswords_data()
    {
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<bool>("inEvery");
        QTest::newRow("length and alphabet") << "^[A-Za-z0-9!#$%&*+=?@^_-]{20}$" << true;
        QTest::newRow("capital") << "[A-Z]" << true;
        QTest::newRow("small letter") << "[a-z]" << true;
        QTest::newRow("digit") << "[0-9]" << true;
        QTest::newRow("sign") << "[!#$%&*+=?@^_-]" << true;
        QTest::newRow("underscore") << "_" << false;
        QTest::newRow("exclamation mark") << "!" << false;
        QTest::newRow("minus") << "-" << false;
        QTest::newRow("Z") << "Z" << false;
        QTest::newRow("9") << "9" << false;
    }

    void generatedPasswords()
    {
        QFETCH(QString, pattern);
        QFETCH(bool, inEvery);
        const QRegularExpression expression(pattern);
        int matching = 0;
        QSet<QString> distinct;
        for (int i = 0; i < 300; ++i) {
            const QString password = PasswordGenerator::generate();
            distinct.insert(password);
            matching += expression.match(password).hasMatch();
        }
        QCOMPARE(distinct.size(), 300);
        QVERIFY2(inEvery ? matching == 300 : matching > 0, qPrintable(QString::number(matching)));
    }

    void clipboardGuardClearsOnlyItsOwnCopy_data()
    {
        QTest::addColumn<QString>("copiedSince");
        QTest::addColumn<QString>("left");
        QTest::newRow("nothing") << QString() << QString("");
        QTest::newRow("another text") << QString("other") << QString("other");
        QTest::newRow("the same text") << QString("50%_off") << QString("50%_off");
    }

    void clipboardGuardClearsOnlyItsOwnCopy()
    {
        QFETCH(QString, copiedSince);
        ClipboardGuard *guard = ClipboardGuard::instance();
        QClipboard *clipboard = QGuiApplication::clipboard();
        guard->copy("50%_off");
        QCOMPARE(clipboard->text(), QString("50%_off"));
        QCOMPARE(clipboard->mimeData()->data("x-kde-passwordManagerHint"), QByteArray("secret"));
        if (!copiedSince.isNull())
            clipboard->setText(copiedSince);
        // Half a minute after the copy.
        auto *timer = guard->findChild<QTimer *>();
        QVERIFY(timer && timer->isActive() && timer->isSingleShot());
        QCOMPARE(timer->interval(), 30000);
        QVERIFY(QMetaObject::invokeMethod(timer, "timeout"));
        QTEST(clipboard->text(), "left");
        // And at the program's end.
        guard->copy("50%_off");
        QVERIFY(QMetaObject::invokeMethod(QCoreApplication::instance(), "aboutToQuit"));
        QCOMPARE(clipboard->text(), QString());
    }

    void damagedSealedTextStaysAsStored()
    {
        store = std::make_unique<TestStore>("insert into card values(1, 3, 'mail', 0);"
                                            "insert into content values(1, 'Kept', 'x', 1)");
        TestStore::encrypt("secret");
        store->exec("update content set value = 'nimbrel-sealed:1:AAAA' where id = 1");
        window = std::make_unique<MainWindow>();
        window->show();
        openRow(0);
        // The notice stands in its open editor while the user types a title.
        const QModelIndex value = lineView()->model()->index(0, 2);
        lineView()->setCurrentIndex(value);
        lineView()->edit(value);
        QCOMPARE(qobject_cast<QLineEdit *>(lineView()->indexWidget(value))->text(),
                 QString("(damaged: this text cannot be read)"));
        typeInto(lineView(), 0, 1, "Renamed");
        QVERIFY(window->findChild<CardForm *>()->close());
        QCOMPARE(stored("select value from content"), QString("nimbrel-sealed:1:AAAA"));
        QCOMPARE(TestStore::opened("content", {"title"}, '='), QStringList("Renamed"));
    }

private:
    void open(const QString &sql)
    {
        store = std::make_unique<TestStore>(sql);
        window = std::make_unique<MainWindow>();
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    }

    QTableView *view() const { return window->findChild<QTableView *>("cardView"); }
    myDelegate *delegate() const { return qobject_cast<myDelegate *>(view()->itemDelegate()); }
    QTableView *lineView() const { return window->findChild<CardForm *>()->findChild<QTableView *>("contentView"); }
    void openRow(int row)
    {
        view()->setCurrentIndex(view()->model()->index(row, 2));
        trigger(window.get(), "&Open");
    }
    QString stored(const QString &sql) const { return store->value(sql).toString(); }

    std::unique_ptr<TestStore> store;
    std::unique_ptr<MainWindow> window;
};

QTEST_MAIN(TestCards)
#include "tst_cards.moc"

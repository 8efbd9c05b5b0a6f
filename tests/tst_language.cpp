#include "vaulttest.h"

#include "cardeditor/cardform.h"
#include "store/settingsrow.h"
#include "store/startup.h"

namespace {

// A menu's entries as "entry|entry|...": a separator as "-", an entry with
// an icon marked "*", its tool tip in braces ("{=}" for the tip of the entry
// before), a checkable entry marked "[ ]" or "[x]", its shortcut after a tab
// as the user reads it, a submenu's entries in brackets.
QString entries(QMenu *menu)
{
    QStringList all;
    QString lastTip;
    for (QAction *entry : menu->actions()) {
        QString text = entry->isSeparator() ? QStringLiteral("-") : entry->text();
        if (!entry->icon().isNull())
            text += QLatin1Char('*');
        // Without a tip of its own an entry shows its text.
        if (entry->toolTip() != QString(entry->text()).remove('&').remove("..."))
            text += entry->toolTip() == lastTip ? QStringLiteral("{=}") : '{' + entry->toolTip() + '}';
        lastTip = entry->toolTip();
        if (entry->isCheckable())
            text += entry->isChecked() ? QStringLiteral(" [x]") : QStringLiteral(" [ ]");
        if (!entry->shortcut().isEmpty())
            text += QLatin1Char('\t') + entry->shortcut().toString(QKeySequence::NativeText);
        if (entry->menu())
            text += QLatin1Char('(') + entries(entry->menu()) + QLatin1Char(')');
        all << text;
    }
    return all.join(QLatin1Char('|'));
}

// The menus of the window's menu bar as "title: entries".
QStringList menus(QWidget *window)
{
    QStringList all;
    for (QAction *menu : window->findChild<QMenuBar *>()->actions()) {
        if (menu->menu())
            all << menu->text() + QStringLiteral(": ") + entries(menu->menu());
    }
    return all;
}

} // namespace

// Stands in for the browser and the mail program.
class LinkCatcher : public QObject
{
    Q_OBJECT

public:
    QStringList opened;

public slots:
    void open(const QUrl &url) { opened << url.toString(); }
};

class TestLanguage : public QObject
{
    Q_OBJECT

private slots:
    void choicesAndMessages()
    {
        TestStore store;
        QVERIFY(SettingsRow::setLastLang("en"));
        MainWindow window;
        // The entry chosen, and the text of the box that comes, if one is to come.
        const auto choose = [&window](const QString &entry, bool told) {
            std::optional<ModalAnswer> box;
            if (told)
                box.emplace("Switch language");
            trigger(&window, entry);
            return box ? box->text : QString();
        };
        // The language entry checked, as its code; the check mark follows what is stored.
        const auto checked = [&window]() {
            QStringList codes;
            for (QAction *action : window.findChildren<QAction *>())
                if (action->isChecked() && action->data().typeId() == QMetaType::QString)
                    codes << action->data().toString();
            return codes.join(',');
        };
        QCOMPARE(checked(), QString());
        // The failure is told instead of a promise, in the user's words, and nothing is checked.
        {
            OtherProgram other(store.filePath(), "BEGIN IMMEDIATE");
            QCOMPARE(choose("Chinese(Simplified)", true),
                     QString("The language could not be stored. The store is being used by another program. Nothing "
                             "was lost: try again in a moment.\ndatabase is locked Unable to fetch row"));
        }
        QCOMPARE(checked(), QString());
        QCOMPARE(choose("Chinese(Simplified)", true),
                 QString("Switch language to Chinese(Simplified), available after restart application."));
        QCOMPARE(checked(), QString("zh_CN"));
        // English is in effect: there is nothing to restart for.
        QCOMPARE(choose("English", false), QString());
        QCOMPARE(checked(), QString("en"));
        QCOMPARE(store.value("select language from option").toString(), QString("en"));
    }

    void translationIsComplete()
    {
        // lupdate brings every tr() text of the sources into a copy of the file,
        // where a text the file lacked stays unfinished, and leaves out those
        // the sources no longer translate.
        const QString original = NIMBREL_SOURCE_DIR "/vault/resources/nimbrel_zh_CN.ts";
        QTemporaryDir temp;
        const QString copy = temp.filePath("nimbrel_zh_CN.ts");
        QVERIFY(QFile::copy(original, copy));
        const QStringList arguments {"-locations",
                                     "none",
                                     "-no-obsolete",
                                     "-silent",
                                     NIMBREL_SOURCE_DIR "/vault",
                                     NIMBREL_SOURCE_DIR "/common",
                                     NIMBREL_SOURCE_DIR "/updater",
                                     "-ts",
                                     copy};
        QCOMPARE(QProcess::execute(QLibraryInfo::path(QLibraryInfo::BinariesPath) + "/lupdate", arguments), 0);

        // Every entry translated, keeping the "%N", "&" mnemonic and markup of its source.
        // The texts stay escaped as in the file: "&amp;C", "&lt;b&gt;".
        const QRegularExpression entry("<source>(.*?)</source>.*?<translation( type=\"\\w+\")?>(.*?)</translation>",
                                       QRegularExpression::DotMatchesEverythingOption);
        const QRegularExpression marker("%\\d|&amp;[^&\\s]|&lt;\\w+");
        QStringList problems;
        // Texts in the file whose tr() is gone: a text shown untranslated.
        QStringList gone;
        for (const QRegularExpressionMatch &next : entry.globalMatch(QString::fromUtf8(readFile(original))))
            gone << next.captured(1);
        for (const QRegularExpressionMatch &next : entry.globalMatch(QString::fromUtf8(readFile(copy)))) {
            gone.removeOne(next.captured(1));
            if (!next.captured(2).isEmpty() || next.captured(3).isEmpty())
                problems << "untranslated: " + next.captured(1);
            for (const QRegularExpressionMatch &kept : marker.globalMatch(next.captured(1))) {
                if (!next.captured(3).contains(kept.captured(), Qt::CaseInsensitive))
                    problems << kept.captured() + " lost: " + next.captured(1);
            }
        }
        for (const QString &source : gone)
            problems << "no longer translated in the sources: " + source;
        QVERIFY2(problems.isEmpty(), qPrintable(problems.join('\n')));
    }

    // A start with Chinese chosen: the built translations reach the window, Qt's
    // texts and the card type names, and the line titles are stored in Chinese.
    void chineseStart()
    {
        TestStore store;
        store.exec("insert into card values(1, 13, 'mail', 0)");
        QVERIFY(SettingsRow::setLanguage("zh_CN"));
        QTranslator chinese, qtChinese;
        QCOMPARE(applyLanguage(chinese, NIMBREL_PROGRAM_DIR, "en_US", &qtChinese), QString("zh_CN"));
        // Qt's own texts, as on its boxes and file dialogs, come from the file beside the program.
        QVERIFY(qtChinese.filePath().startsWith(NIMBREL_PROGRAM_DIR));
        QCOMPARE(QCoreApplication::translate("QPlatformTheme", "&Yes"), QString::fromUtf8("是(&Y)"));
        QCOMPARE(store.value("select name from cardtype where id = 18").toString(), QString::fromUtf8("网站"));
        MainWindow window;
        window.show();
        QCOMPARE(
            menus(&window),
            QStringList(
                {QString::fromUtf8(
                     "类别(&C): 编辑(&E)*{打开编辑类别对话框}\tCtrl+E|-|全部(&A)*{在主视图中显示全部卡片} [x]\tCtrl+A"),
                 QString::fromUtf8("卡片(&R): 打开(&O)*{打开当前选中的卡片}\tCtrl+O|添加(&A)*{添加一张新卡片}\tCtrl+N|"
                                   "删除(&D)*{删除一张卡片}\tCtrl+D|查找(&F)...*{按名称或内容查找卡片}\tCtrl+F"),
                 QString::fromUtf8(
                     "选项(&O): 设置密码(&P)*{修改密码}|加密存储...*{加密卡片，使存储只能用密码打开} [ ]|"
                     "语言(&L)*(English{将界面语言切换为英语} [ ]|简体中文{将界面语言切换为简体中文} [x])|"
                     "导出数据...*{导出卡片数据库}|导入数据...*{导入卡片数据库}|"
                     "导入 CSV...*{从浏览器或密码管理器的 CSV 文件导入卡片}|导出 CSV...*{将卡片导出为 CSV 文件}|-|"
                     "锁定(&L)*{锁定保险库：隐藏所有窗口，直到再次输入密码}\tCtrl+L|"
                     "自动锁定(&A)(1 分钟{在没有键盘或鼠标输入这么久之后锁定保险库} [ ]|"
                     "5 分钟{=} [x]|15 分钟{=} [ ]|60 分钟{=} [ ]|从不{=} [ ])"),
                 QString::fromUtf8("帮助(&H): 帮助(&H)*|-|关于(&A)*")}));
        LinkCatcher links;
        QDesktopServices::setUrlHandler("http", &links, "open");
        QDesktopServices::setUrlHandler("mailto", &links, "open");
        ModalAnswer about(QString::fromUtf8("关于"), QMessageBox::Ok, [](QWidget *dialog) {
            const QRegularExpression link("href=\"([^\"]+)\"");
            for (QLabel *label : dialog->findChildren<QLabel *>()) {
                if (label->text().contains(link))
                    emit label->linkActivated(link.match(label->text()).captured(1));
            }
            QCOMPARE(misplacedWidgets(dialog), QStringList());
            dialog->close();
        });
        trigger(&window, QString::fromUtf8("关于(&A)"));
        QDesktopServices::unsetUrlHandler("http");
        QDesktopServices::unsetUrlHandler("mailto");
        QCOMPARE(links.opened, QStringList({"http://www.nimbrel.example.org", "mailto:support@nimbrel.example.org"}));
        trigger(&window, QString::fromUtf8("帮助(&H)"));
        QVERIFY(window.findChild<QTextEdit *>()->isVisible());
        QCOMPARE(window.findChild<QLineEdit *>("findField")->placeholderText(),
                 QString::fromUtf8("查找卡片：文字或拼音"));
        // The titles of the columns a table shows.
        const auto columnTitles = [](QWidget *dialog, const char *name) {
            const auto *table = dialog->findChild<QTableView *>(name);
            QStringList all;
            for (int column = 0; column < table->model()->columnCount(); ++column) {
                if (!table->isColumnHidden(column))
                    all << table->model()->headerData(column, Qt::Horizontal).toString();
            }
            return all.join('|');
        };
        auto *view = window.findChild<QTableView *>("cardView");
        view->setCurrentIndex(view->model()->index(0, 2));
        trigger(&window, QString::fromUtf8("打开(&O)"));
        QCOMPARE(columnTitles(&window, "cardView") + ", " + columnTitles(window.findChild<CardForm *>(), "contentView"),
                 QString::fromUtf8("类型|名称|类别, 标题|值"));
        QCOMPARE(menus(window.findChild<CardForm *>()),
                 QStringList(QString::fromUtf8(
                     "菜单(&M): 复制(&C)*{复制当前选中的单元格}\tCtrl+C|粘贴(&P)*{粘贴到当前选中的单元格}\tCtrl+V|"
                     "添加行(&A)*{添加一个新行}|删除行(&D)*{删除一行}|生成密码(&G)*{用新密码填写当前值}|-|"
                     "关闭(&E)*{关闭对话框}")));
        QCOMPARE(misplacedWidgets(&window) + misplacedWidgets(window.findChild<CardForm *>()), QStringList());
        QVERIFY(window.savePendingEdits());
        const char *const titles = "select group_concat(title, '|') from (select title from content order by id)";
        QCOMPARE(store.value(titles).toString(), QString::fromUtf8("系统|用户名|密码|备注"));
    }
};

QTEST_MAIN(TestLanguage)
#include "tst_language.moc"

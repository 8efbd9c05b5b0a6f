#include "teststore.h"

#include "access/login.h"
#include "access/setpw.h"
#include "store/settingsrow.h"
#include "store/startup.h"

#include <QTranslator>
#include <QtTest>

class TestStartup : public QObject
{
    Q_OBJECT

private slots:
    void languageDecision_data();
    void languageDecision();
    void gateFollowsStoredPassword_data();
    void gateFollowsStoredPassword();
};

void TestStartup::languageDecision_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("lastlang");
    QTest::addColumn<QString>("systemLocale");
    QTest::addColumn<QString>("expectedLang");
    QTest::addColumn<bool>("rewritten");
    QTest::addColumn<QString>("passwordTypeName");

    const QString chinese = QString::fromUtf8("密码");
    QTest::newRow("first start, zh_CN locale") << "none" << "none" << "zh_CN" << "zh_CN" << true << chinese;
    QTest::newRow("first start, en_US locale") << "none" << "none" << "en_US" << "en_US" << true << "Password";
    QTest::newRow("same locale again") << "none" << "zh_CN" << "zh_CN" << "zh_CN" << false << "";
    QTest::newRow("chose en, last start en_US") << "en" << "en_US" << "zh_CN" << "en" << true << "Password";
    QTest::newRow("chose zh_CN, last start en") << "zh_CN" << "en" << "en_US" << "zh_CN" << true << chinese;
    QTest::newRow("chose zh_CN, unchanged") << "zh_CN" << "zh_CN" << "en_US" << "zh_CN" << false << "";
}

void TestStartup::languageDecision()
{
    QFETCH(QString, stored);
    QFETCH(QString, lastlang);
    QFETCH(QString, systemLocale);
    QFETCH(QString, expectedLang);
    QFETCH(bool, rewritten);
    QFETCH(QString, passwordTypeName);

    TestStore store;
    QVERIFY(SettingsRow::setLanguage(stored));
    QVERIFY(SettingsRow::setLastLang(lastlang));
    // A marker that only a rewrite of the type names replaces.
    store.exec("update cardtype set name = 'marker' where id = 13");

    QTranslator translator;
    QCOMPARE(applyLanguage(translator, NIMBREL_PROGRAM_DIR, systemLocale), expectedLang);
    QCoreApplication::removeTranslator(&translator);

    QCOMPARE(SettingsRow::lastLang().value(), expectedLang);
    QCOMPARE(SettingsRow::language().value(), stored);
    const QString typeName = store.value("select name from cardtype where id = 13").toString();
    QCOMPARE(typeName, rewritten ? passwordTypeName : QString("marker"));
}

void TestStartup::gateFollowsStoredPassword_data()
{
    QTest::addColumn<QString>("password");
    QTest::addColumn<QString>("gateClass");
    QTest::newRow("no password set") << "none" << "SetPw";
    QTest::newRow("a password") << "secret" << "Login";
    QTest::newRow("the empty password") << "" << "Login";
    QTest::newRow("None is a password") << "None" << "Login";
}

void TestStartup::gateFollowsStoredPassword()
{
    QFETCH(QString, password);
    QFETCH(QString, gateClass);
    TestStore store;
    QVERIFY(SettingsRow::setPassword(password));
    std::unique_ptr<QDialog> gate(raiseGate());
    QVERIFY(gate->isVisible());
    QCOMPARE(QString(gate->metaObject()->className()), gateClass);
}

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"

// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "storefiles.h"

#include "document/saldrixerror.h"
#include "settings/placementtext.h"
#include "settings/settingsstore.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class tst_SettingsStore : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void userStoreLivesInTheConfigurationFolder();
    void keyPathsBecomeGroups_data();
    void keyPathsBecomeGroups();
    void integersFallBackOnMissingOrMalformedText_data();
    void integersFallBackOnMissingOrMalformedText();
    void valuesAreStoredAsText();
    void eraseKeyTakesValuesAndKeysBelow();
    void unwritableStoreFailsWithItsName();
    void positionTextParsesWordByWord_data();
    void positionTextParsesWordByWord();
};

void tst_SettingsStore::userStoreLivesInTheConfigurationFolder()
{
    const QString config = qEnvironmentVariable("XDG_CONFIG_HOME");
    QVERIFY(!config.isEmpty());
    QCOMPARE(SettingsStore::userFileName(), config + QStringLiteral("/Yorv/YorvSaldrix.conf"));
}

void tst_SettingsStore::keyPathsBecomeGroups_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("group");
    QTest::newRow("nested") << "Main\\TfrmSaldrixMain.MRUManager1"
                            << "Main/TfrmSaldrixMain.MRUManager1";
    QTest::newRow("from the root") << "\\Software\\Yorv\\YorvSaldrix\\Tree\\Band\\Band0"
                                   << "Tree/Band/Band0";
    QTest::newRow("root, other letter case") << "\\software\\YORV\\yorvsaldrix\\Tree"
                                             << "Tree";
    QTest::newRow("the application key itself") << "\\Software\\Yorv\\YorvSaldrix"
                                                << "";
    QTest::newRow("doubled and trailing backslashes") << "Tree\\\\Columns\\"
                                                      << "Tree/Columns";
    QTest::newRow("other program refused") << "\\Software\\Other\\Tree" << QString();
    QTest::newRow("vendor key refused") << "\\Software\\Yorv" << QString();
}

void tst_SettingsStore::keyPathsBecomeGroups()
{
    QFETCH(QString, path);
    QFETCH(QString, group);
    if (group.isNull())
        QVERIFY_THROWS_EXCEPTION(SaldrixError, SettingsStore::groupOf(path));
    else
        QCOMPARE(SettingsStore::groupOf(path), group);
}

void tst_SettingsStore::integersFallBackOnMissingOrMalformedText_data()
{
    QTest::addColumn<QString>("text"); // null: no value at all
    QTest::addColumn<int>("expected");
    QTest::newRow("missing") << QString() << 42;
    QTest::newRow("minus one") << "-1" << -1;
    QTest::newRow("decimal") << "1000" << 1000;
    QTest::newRow("empty") << "" << 42;
    QTest::newRow("words") << "abc" << 42;
    QTest::newRow("fraction") << "1.5" << 42;
    QTest::newRow("trailing garbage") << "12px" << 42;
    QTest::newRow("beyond int") << "99999999999" << 42;
}

void tst_SettingsStore::integersFallBackOnMissingOrMalformedText()
{
    QFETCH(QString, text);
    QFETCH(int, expected);
    StoreFile file;
    if (!text.isNull())
        file.write(QStringLiteral("Main"), QStringLiteral("N"), text);
    const SettingsStore store(file.fileName());
    QCOMPARE(store.readInteger(QStringLiteral("Main"), QStringLiteral("N"), 42), expected);
    QCOMPARE(store.readBool(QStringLiteral("Main"), QStringLiteral("N"), true), expected != 0);
    QCOMPARE(store.readString(QStringLiteral("Other"), QStringLiteral("N"), QStringLiteral("d")), QStringLiteral("d"));
}

void tst_SettingsStore::valuesAreStoredAsText()
{
    StoreFile file;
    {
        SettingsStore store(file.fileName());
        store.writeInteger(QStringLiteral("Main"), QStringLiteral("SortedOrder"), -1);
        store.writeBool(QStringLiteral("Main"), QStringLiteral("ShowGrid"), false);
        store.writeString(QStringLiteral("Main"), QStringLiteral("NormPos(800x600)"), QStringLiteral("1,2,3,4"));
        store.writeString(QStringLiteral("\\Software\\Yorv\\YorvSaldrix\\Main"), QStringLiteral("Empty"), QString());
        store.close();
    }
    for (const auto &[name, text] :
        { std::pair { "SortedOrder", "-1" }, { "ShowGrid", "0" }, { "NormPos(800x600)", "1,2,3,4" }, { "Empty", "" } })
        QCOMPARE(file.value(QStringLiteral("Main"), QString::fromLatin1(name)), QString::fromLatin1(text));

    // A hand-edited rectangle without quotes is still one text.
    QFile raw(file.fileName());
    QVERIFY(raw.open(QIODevice::Append | QIODevice::Text));
    raw.write("[Hand]\nNormPos=10, 20,30,40\n");
    raw.close();
    const SettingsStore store(file.fileName());
    QCOMPARE(
        store.readString(QStringLiteral("Hand"), QStringLiteral("NormPos"), QString()), QStringLiteral("10,20,30,40"));
    QCOMPARE(store.readString(QStringLiteral("Main"), QStringLiteral("Empty"), QStringLiteral("d")), QString(""));
}

void tst_SettingsStore::eraseKeyTakesValuesAndKeysBelow()
{
    StoreFile file;
    SettingsStore store(file.fileName());
    store.writeString(QStringLiteral("Main"), QStringLiteral("Keep"), QStringLiteral("1"));
    store.writeString(QStringLiteral("Main\\List"), QStringLiteral("Item_0"), QStringLiteral("a"));
    store.writeString(QStringLiteral("Main\\List"), QStringLiteral("User_0"), QStringLiteral("3"));
    store.writeString(QStringLiteral("Main\\List\\Deeper"), QStringLiteral("X"), QStringLiteral("b"));
    store.deleteValue(QStringLiteral("Main\\List"), QStringLiteral("User_0"));
    QVERIFY(!store.valueExists(QStringLiteral("Main\\List"), QStringLiteral("User_0")));
    QVERIFY(store.valueExists(QStringLiteral("Main\\List"), QStringLiteral("Item_0")));
    store.eraseKey(QStringLiteral("Main\\List"));
    store.close();
    QVERIFY(!store.keyExists(QStringLiteral("Main\\List\\Deeper")));
    QCOMPARE(file.names(QStringLiteral("Main")), QStringList { QStringLiteral("Keep") });
}

void tst_SettingsStore::unwritableStoreFailsWithItsName()
{
    // A folder that is a plain file cannot hold the store, whoever runs the test.
    QTemporaryDir dir;
    QFile file(dir.filePath(QStringLiteral("Yorv")));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();
    const QString fileName = file.fileName() + QStringLiteral("/YorvSaldrix.conf");
    SettingsStore store(fileName);
    store.writeString(QStringLiteral("Main"), QStringLiteral("FormVersion"), QStringLiteral("1000"));
    try {
        store.close();
        QFAIL("a store that cannot be written was reported as saved");
    } catch (const SaldrixError &error) {
        QCOMPARE(error.message(), QStringLiteral("Unable to write to the settings store ") + fileName);
    }
    // The next store on the file tries to write what the first could not: writing is what fails.
    try {
        const SettingsStore again(fileName);
        QFAIL("the unwritten changes were reported as saved");
    } catch (const SaldrixError &error) {
        QCOMPARE(error.message(), QStringLiteral("Unable to write to the settings store ") + fileName);
    }
}

void tst_SettingsStore::positionTextParsesWordByWord_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QList<int>>("words"); // -999 marks a word that gives the caller's default
    QTest::newRow("written form") << "10,20,474,342" << QList<int> { 10, 20, 474, 342 };
    QTest::newRow("blanks and commas") << " -8 ,, -8,  100 200" << QList<int> { -8, -8, 100, 200 };
    QTest::newRow("short") << "1,2" << QList<int> { 1, 2, -999, -999 };
    QTest::newRow("non-numeric word") << "1,x,3,4" << QList<int> { 1, -999, 3, 4 };
    QTest::newRow("empty") << "" << QList<int> { -999, -999, -999, -999 };
}

void tst_SettingsStore::positionTextParsesWordByWord()
{
    QFETCH(QString, text);
    QFETCH(QList<int>, words);
    const auto parsed = parseFourIntegers(text);
    for (int i = 0; i < 4; ++i)
        QCOMPARE(parsed[std::size_t(i)].value_or(-999), words.at(i));
}

QTEST_GUILESS_MAIN(tst_SettingsStore)
#include "tst_settingsstore.moc"

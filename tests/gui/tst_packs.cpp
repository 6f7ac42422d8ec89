// The shipped language packs: complete for every window start-up makes and for the whole text
// table, English without a Chinese character, every entry taken, and copied beside the program.
// A failure lists what is missing as lines ready to paste into the pack.
//
// scripts/pack-missing PACK lists the same for any pack.
#include "PackCheck.h"
#include "TestSettings.h"

#include <QFile>
#include <QtTest>

namespace {

QString Shipped(const QString& code) {
    return QStringLiteral(VELITRA_LANG_DIR "/velitra.") + code;
}

} // namespace

class TestPacks : public QObject {
    Q_OBJECT
    TTestSettings settings_;
    packcheck::TNeeds needs_;

private slots:
    void initTestCase() {
        SetPackProgram(QStringLiteral("/nonexistent/velitra"));
        needs_ = packcheck::ProgramTexts();
        QVERIFY(needs_.contains(QStringLiteral("TMainForm")));
        QVERIFY(needs_.contains(QStringLiteral("Texts")));
    }
    void cleanupTestCase() {
        UnloadLanguagePack();
        SetPackProgram(QString());
    }

    void complete_data() {
        QTest::addColumn<QString>("code");
        QTest::newRow("Simplified Chinese") << QStringLiteral("CHS");
        QTest::newRow("English") << QStringLiteral("ENU");
    }
    void complete() {
        QFETCH(QString, code);
        QString why;
        const std::optional<TLanguagePack> pack = ReadLanguagePack(Shipped(code), &why);
        QVERIFY2(pack, qPrintable(Shipped(code) + QStringLiteral(": ") + why));
        const QStringList missing = packcheck::Missing(needs_, *pack);
        QVERIFY2(missing.isEmpty(),
                 qPrintable(QStringLiteral("velitra.%1 lacks %2 entries:\n%3\n\nTo paste and "
                                           "translate:\n%4")
                                .arg(code)
                                .arg(missing.size())
                                .arg(missing.join(QLatin1Char('\n')),
                                     packcheck::PasteText(needs_, missing))));
        const QStringList unused = packcheck::Unused(needs_, *pack);
        QVERIFY2(unused.isEmpty(), qPrintable(QStringLiteral("velitra.%1 has entries no window "
                                                             "or table entry has:\n%2")
                                                  .arg(code, unused.join(QLatin1Char('\n')))));
    }

    void englishHasNoChinese() {
        const std::optional<TLanguagePack> pack = ReadLanguagePack(Shipped(QStringLiteral("ENU")));
        QVERIFY(pack);
        const QStringList chinese = packcheck::ChineseEntries(*pack);
        QVERIFY2(chinese.isEmpty(),
                 qPrintable(QStringLiteral("English entries holding Chinese:\n") +
                            chinese.join(QLatin1Char('\n'))));
    }

    // Every table entry of a pack is taken: a translation that dropped or added a "%1" would be
    // passed over for the built-in text.
    void everyTableEntryTaken_data() { complete_data(); }
    void everyTableEntryTaken() {
        QFETCH(QString, code);
        const int lcid = code == QLatin1String("ENU") ? 1033 : 2052;
        const TLanguagePack* pack =
            LoadNewResourceModule(lcid, QStringLiteral(VELITRA_LANG_DIR "/velitra"));
        QVERIFY(pack);
        QStringList refused;
        const QHash<QString, QString>* texts = pack->Section(QStringLiteral("Texts"));
        QVERIFY(texts);
        for (auto it = texts->begin(); it != texts->end(); ++it)
            if (TextOf(it.key().toInt()) != it.value()) refused << it.key() + '=' + it.value();
        UnloadLanguagePack();
        QVERIFY2(refused.isEmpty(), qPrintable(refused.join(QLatin1Char('\n'))));
    }

    void besideTheProgram_data() { complete_data(); }
    void besideTheProgram() {
        QFETCH(QString, code);
        QFile source(Shipped(code));
        QFile copy(QStringLiteral(VELITRA_APP_DIR "/velitra.") + code);
        QVERIFY(source.open(QIODevice::ReadOnly));
        QVERIFY2(copy.open(QIODevice::ReadOnly), qPrintable(copy.fileName()));
        QCOMPARE(copy.readAll(), source.readAll());
    }
};

QTEST_MAIN(TestPacks)
#include "tst_packs.moc"

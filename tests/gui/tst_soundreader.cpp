// Reading a film's sound away from the window: the result arrives as a signal, a film read
// before comes from the cache, a reading stopped or replaced is never heard, a film without
// sound says why. Films are made here with ffmpeg's test sources.
#include "SoundReader.h"
#include "TestFilm.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

Q_DECLARE_METATYPE(std::shared_ptr<const TSound>)

class TestSoundReader : public QObject {
    Q_OBJECT
    QTemporaryDir dir_;
    QString film_, other_, silent_;

private slots:
    void initTestCase() {
        qRegisterMetaType<std::shared_ptr<const TSound>>();
        film_ = dir_.filePath(QStringLiteral("film.mp4"));
        other_ = dir_.filePath(QStringLiteral("other.mp4"));
        silent_ = dir_.filePath(QStringLiteral("silent.mp4"));
        QVERIFY(MakeTestFilm(film_, true));
        QVERIFY(MakeTestFilm(other_, true));
        QVERIFY(MakeTestFilm(silent_, false));
    }

    void readsAwayFromTheWindowThenFromTheCache() {
        TSoundReader reader(dir_.filePath(QStringLiteral("cache-a")));
        QSignalSpy done(&reader, &TSoundReader::finished);
        QSignalSpy steps(&reader, &TSoundReader::progress);
        reader.Start(film_);
        QVERIFY(reader.Reading());
        QVERIFY(done.wait(30000));
        QVERIFY(!reader.Reading());
        QCOMPARE(done[0][0].toString(), film_);
        const auto first = done[0][1].value<std::shared_ptr<const TSound>>();
        QVERIFY(first && first->Wave.DurationMs > 2900);
        QCOMPARE(first->Keyframes.size(), size_t(3));
        QCOMPARE(done[0][2].toBool(), false);
        QVERIFY(!steps.isEmpty());
        QCOMPARE(steps.last()[0].toInt(), 100);

        reader.Start(film_);
        QVERIFY(done.wait(30000));
        QCOMPARE(done[1][2].toBool(), true);
        const auto again = done[1][1].value<std::shared_ptr<const TSound>>();
        QCOMPARE(again->Wave.Max, first->Wave.Max);
        QCOMPARE(again->Keyframes, first->Keyframes);
    }

    void aStoppedOrReplacedReadingIsNeverHeard() {
        TSoundReader reader(dir_.filePath(QStringLiteral("cache-b")));
        QSignalSpy done(&reader, &TSoundReader::finished);
        QSignalSpy failed(&reader, &TSoundReader::failed);
        reader.Start(film_);
        reader.Stop();
        QVERIFY(!reader.Reading());
        QTest::qWait(1500);
        QCOMPARE(done.size(), 0);
        QCOMPARE(failed.size(), 0);

        reader.Start(film_);
        reader.Start(other_);
        QVERIFY(done.wait(30000));
        QTest::qWait(300);
        QCOMPARE(done.size(), 1);
        QCOMPARE(done[0][0].toString(), other_);
    }

    void aFilmWithoutSoundSaysWhy() {
        TSoundReader reader(dir_.filePath(QStringLiteral("cache-c")));
        QSignalSpy failed(&reader, &TSoundReader::failed);
        reader.Start(silent_);
        QVERIFY(failed.wait(30000));
        QCOMPARE(failed[0][0].toString(), silent_);
        QVERIFY2(failed[0][1].toString().contains(QStringLiteral("no sound")),
                 qPrintable(failed[0][1].toString()));
    }
};

QTEST_MAIN(TestSoundReader)
#include "tst_soundreader.moc"

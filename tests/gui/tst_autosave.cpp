// No work lost: copies of changed documents, taken away on save and at a clean exit, offered
// after a run that ended without one, restored unsaved and saved to their own file; backups
// before an overwrite.
#include "MainProbe.h"
#include "AutoSave.h"
#include "Backup.h"
#include "FormFixture.h"
#include "Main.h"
#include "Recovery.h"
#include "RecoveryForm.h"
#include "ScriptedQuestions.h"
#include "TestSettings.h"

#include "Editing.h"
#include "Kellabel.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QPushButton>
#include <QTreeWidget>
#include <QtTest>

namespace {

const QByteArray kSrt = "1\r\n00:00:01,000 --> 00:00:02,000\r\none\r\n\r\n"
                        "2\r\n00:00:03,000 --> 00:00:04,000\r\ntwo\r\n\r\n";

QByteArray Bytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// UTF-16 with its mark, as the file on disk.
QByteArray Utf16(const QByteArray& utf8) {
    const QString text = QString::fromUtf8(utf8);
    QByteArray out("\xFF\xFE", 2);
    out.append(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
    return out;
}

struct Fixture : TFormFixture {
    Fixture() : TFormFixture("/films/f.avi", 100.0) {}
    TAutoSave& saver() { return *Probe(f()).AutoSaver(); }
    void Change(int side = 0) {
        Probe(f()).ApplyChange(side, "x", ShiftChange(*Probe(f()).Pane(side)->Doc(), 0, 0, 100));
    }
    // Writes what is due and waits for the writer.
    void Copy() {
        saver().Tick();
        saver().Flush();
    }
};

QString RecoveryRoot() {
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) +
           QStringLiteral("/recovery");
}

// A copy left by a run that is gone: a folder of its own, and no lock held on it.
QString LeaveCopy(const QString& folder, const SubTitle& doc, int side) {
    QDir().mkpath(RecoveryRoot() + "/" + folder);
    const QString path = RecoveryRoot() + "/" + folder + QStringLiteral("/side%1.vrec").arg(side);
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(QByteArray::fromStdString(RecoveryBytes(doc, side, 1700000000)));
    return path;
}

} // namespace

class TestAutoSave : public QObject {
    Q_OBJECT
    TTestSettings settings_;

private slots:
    void init() {
        OpenSettings()->clear();
        QDir(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)).removeRecursively();
    }

    // A changed document is copied, an unchanged one is not; the copy goes on save, on undo back
    // to the saved state, when another file takes the side, and with the folder at a clean exit.
    void copiesFollowChanges() {
        TScriptedQuestions questions;
        QString folder;
        {
            Fixture x;
            const QString path = x.Write("a.srt", kSrt);
            QVERIFY(x.f().LoadDocument(0, path));
            QVERIFY(x.f().LoadDocument(1, x.Write("b.srt", kSrt)));
            const QString copy = x.saver().CopyPath(0);
            folder = x.saver().RecoveryFolder();
            x.Copy();
            QVERIFY(!QFile::exists(copy));

            x.Change();
            x.Copy();
            QVERIFY(QFile::exists(copy));
            QVERIFY(!QFile::exists(x.saver().CopyPath(1))); // the right side did not change
            std::optional<SubTitle> back = ReadRecovery(copy.toStdString());
            QVERIFY(back);
            QCOMPARE(back->Item(0)->Start, 1100);
            QCOMPARE(back->FileName(), path.toStdString());
            QCOMPARE(Bytes(path), kSrt); // never the user's own file

            Probe(x.f()).sgSubLEnter(0);
            Ctl<QAction>(x.f(), "aUndo")->trigger(); // back to the file's state: nothing to keep
            x.Copy();
            QVERIFY(!QFile::exists(copy));

            x.Change();
            x.Copy();
            QVERIFY(QFile::exists(copy));
            Ctl<QAction>(x.f(), "aSaveL")->trigger();
            x.saver().Flush();
            QVERIFY(!QFile::exists(copy));

            x.Change();
            x.Copy();
            QVERIFY(QFile::exists(copy));
            QVERIFY(x.f().LoadDocument(0, x.Write("c.srt", kSrt)));
            x.saver().Flush();
            QVERIFY(!QFile::exists(copy));

            x.Change();
            x.Copy();
            QVERIFY(QFile::exists(copy));
        }
        QVERIFY(!QDir(folder).exists()); // a clean exit leaves nothing to recover
    }

    // The interval comes from the settings; 0 turns copying off.
    void intervalFromTheSettings() {
        OpenSettings()->setValue("AutoSave.Interval", 0);
        {
            Fixture x;
            QCOMPARE(x.saver().Interval(), 0);
            QVERIFY(!x.saver().findChild<QTimer*>("AutoSaveTimer")->isActive());
        }
        OpenSettings()->setValue("AutoSave.Interval", 5);
        Fixture x;
        QCOMPARE(x.saver().Interval(), 5);
        QCOMPARE(x.saver().findChild<QTimer*>("AutoSaveTimer")->interval(), 5000);
    }

    // After a run without a clean exit its copies are offered; one restored comes back unsaved
    // and saves to its own file in its own encoding; one put off stays offered.
    void leftCopiesAreOfferedAndRestored() {
        TScriptedQuestions questions;
        QTemporaryDir files;
        const QString own = files.filePath("wide.srt");
        {
            QFile file(own);
            file.open(QIODevice::WriteOnly);
            file.write(Utf16(kSrt));
        }
        SubTitle doc(own.toStdString(), 25);
        QCOMPARE(doc.Encoding(), FileEncoding::Utf16LE);
        doc.Apply(SetEntryChange(doc, 1, {3000, 4000, "zwei"}));
        LeaveCopy("1-1", doc, 1);
        LeaveCopy("2-2", doc, 0);

        Fixture x;
        TRecoveryForm form(x.form.get());
        Probe(x.f()).RecoveryForm() = &form;
        int offered = 0;
        questions.DialogScripts << [&offered](QDialog* dialog) {
            auto* window = qobject_cast<TRecoveryForm*>(dialog);
            offered = window->Remaining();
            window->lvCopies->setCurrentItem(window->lvCopies->topLevelItem(0));
            if (window->cbSide->currentIndex() != 1) return int(mrCancel);
            window->bbtnRestore->click();
            return int(mrCancel); // "later" for the other copy
        };
        x.f().OfferRecovery();
        QCOMPARE(offered, 2);
        x.saver().Flush();
        QVERIFY(Probe(x.f()).Pane(1)->Doc());
        QCOMPARE(Probe(x.f()).Pane(1)->Doc()->Item(1)->Text, std::string("zwei"));
        QVERIFY(Probe(x.f()).Pane(1)->FileLabel->Caption().endsWith("*"));
        QVERIFY(!Probe(x.f()).Side(1)->History().IsClean());
        // This run keeps its own copy of the restored work at once.
        QVERIFY(QFile::exists(x.saver().CopyPath(1)));

        Ctl<QAction>(x.f(), "aSaveR")->trigger();
        QCOMPARE(Bytes(own), Utf16(QByteArray(kSrt).replace("two", "zwei")));
        QVERIFY(!Probe(x.f()).Pane(1)->FileLabel->Caption().endsWith("*"));

        // The copy put off is offered at the next start, the restored one is not.
        std::vector<TAutoSave::TLeftCopy> left = x.saver().LeftBehind();
        QCOMPARE(left.size(), size_t(1));
        QCOMPARE(left[0].Side, 0);
        questions.DialogScripts << [](QDialog* dialog) {
            qobject_cast<TRecoveryForm*>(dialog)->bbtnDiscard->click();
            return int(mrOk);
        };
        x.f().OfferRecovery();
        x.saver().Flush();
        QVERIFY(x.saver().LeftBehind().empty());
    }

    // A run still going keeps its copies: another editor never takes them.
    void twoEditorsKeepApart() {
        TScriptedQuestions questions;
        Fixture first;
        QVERIFY(first.f().LoadDocument(0, first.Write("a.srt", kSrt)));
        first.Change();
        first.Copy();
        Fixture second;
        QVERIFY(second.saver().LeftBehind().empty());
        QVERIFY(first.saver().LeftBehind().empty());
        QVERIFY(QFile::exists(first.saver().CopyPath(0)));
    }

    // The first save over a file in a run keeps its previous version; a backup that cannot be
    // made stops the save.
    void backupBeforeTheFirstOverwrite() {
        TScriptedQuestions questions;
        Fixture x;
        const QString path = x.Write("a.srt", kSrt);
        QVERIFY(x.f().LoadDocument(0, path));
        x.Change();
        Ctl<QAction>(x.f(), "aSaveL")->trigger();
        const QByteArray saved = Bytes(path);
        QVERIFY(saved != kSrt);
        x.Change();
        Ctl<QAction>(x.f(), "aSaveL")->trigger();
        const QString folder = QString::fromStdString(
            BackupFolderFor(x.saver().BackupsFolder().toStdString(), path.toStdString()));
        const QStringList backups = QDir(folder).entryList(QDir::Files);
        QCOMPARE(backups.size(), 1);
        QCOMPARE(Bytes(folder + "/" + backups[0]), kSrt);

        // Backups off: nothing kept.
        Fixture y;
        y.saver().BackupKeep = 0;
        const QString other = y.Write("b.srt", kSrt);
        QVERIFY(y.f().LoadDocument(0, other));
        y.Change();
        Ctl<QAction>(y.f(), "aSaveL")->trigger();
        QVERIFY(!QDir(QString::fromStdString(BackupFolderFor(
                          y.saver().BackupsFolder().toStdString(), other.toStdString())))
                     .exists());

        // A backups folder that is a file: the save stops with a message, the file stays.
        Fixture z;
        QDir(z.saver().BackupsFolder()).removeRecursively();
        QFile blocker(z.saver().BackupsFolder());
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        const QString third = z.Write("c.srt", kSrt);
        QVERIFY(z.f().LoadDocument(0, third));
        z.Change();
        const qsizetype before = questions.Messages.size();
        Ctl<QAction>(z.f(), "aSaveL")->trigger();
        QCOMPARE(questions.Messages.size(), before + 1);
        QVERIFY(questions.Messages.last().Text.startsWith("無法保留舊檔的備份"));
        QCOMPARE(Bytes(third), kSrt);
        QVERIFY(Probe(z.f()).Pane(0)->FileLabel->Caption().endsWith("*"));
        QFile::remove(z.saver().BackupsFolder());
    }
};

QTEST_MAIN(TestAutoSave)
#include "tst_autosave.moc"

// The main window's regions: the five view commands and the order the regions keep, the video
// region's share of the height (shared growth, a drag, stored and restored), the film's room on
// a first start, no tool bar menu of Qt's own, and the two windows the window only shows.
#include "MainProbe.h"
#include "About.h"
#include "Adjust.h"
#include "FormFixture.h"
#include "Kelpanel.h"
#include "Main.h"
#include "RegionSplitter.h"
#include "ScriptedQuestions.h"
#include "TestSettings.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QLineEdit>
#include <QMenuBar>
#include <QSplitterHandle>
#include <QStatusBar>
#include <QToolBar>
#include <QtTest>

#include <cmath>

namespace {

struct Fixture : TFormFixture {
    // The video region's share is what a window with a film shows: the film is open unless
    // said otherwise.
    explicit Fixture(bool film = true) : TFormFixture(QStringLiteral("/films/f.avi"), 60.0) {
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        if (film) QVERIFY(form->FileOpenMovieAccept(QStringLiteral("/films/f.avi")));
        Settle();
    }
    void Settle() {
        for (int i = 0; i < 3; ++i)
            QApplication::processEvents();
    }
    // A region's top and bottom in the window's coordinates.
    QRect At(QWidget* region) {
        return QRect(region->mapTo(form.get(), QPoint(0, 0)), region->size());
    }
    // The shown regions from the top down, each directly below the one before.
    void CheckStack() {
        Settle();
        QList<QWidget*> shown;
        for (QWidget* region : {static_cast<QWidget*>(Ctl<QToolBar>(f(), "atBarMain")), Ctl<QWidget>(f(), "plEditor"), Ctl<QWidget>(f(), "plVideo"),
                                Ctl<QWidget>(f(), "plControl"), static_cast<QWidget*>(Probe(f()).StatusBar())})
            if (region->isVisible()) shown << region;
        for (qsizetype i = 1; i < shown.size(); ++i)
            QVERIFY2(At(shown[i - 1]).bottom() < At(shown[i]).top(),
                     qPrintable(shown[i - 1]->objectName() + " above " + shown[i]->objectName()));
        // The lowest shown region ends at the window's bottom; nothing is left empty there.
        if (!shown.isEmpty() && shown.last() != Ctl<QToolBar>(f(), "atBarMain"))
            QCOMPARE(At(shown.last()).bottom(), f().height() - 1);
    }
};

} // namespace

class TestViews : public QObject {
    Q_OBJECT
    TTestSettings settings_;

private slots:
    void init() { OpenSettings()->clear(); }

    void everyRegionShowsAtStart() {
        Fixture x;
        for (QAction* a : {Ctl<QAction>(x.f(), "aToolBar"), Ctl<QAction>(x.f(), "aEditorBar"), Ctl<QAction>(x.f(), "aVideoBar"), Ctl<QAction>(x.f(), "aControlBar"),
                           Ctl<QAction>(x.f(), "aStatusBar")})
            QVERIFY2(a->isCheckable() && a->isChecked(), qPrintable(a->objectName()));
        x.CheckStack();
    }

    void eachCommandShowsAndHidesItsRegion() {
        Fixture x;
        const struct {
            QAction* command;
            QWidget* region;
        } views[] = {{Ctl<QAction>(x.f(), "aToolBar"), Ctl<QToolBar>(x.f(), "atBarMain")},
                     {Ctl<QAction>(x.f(), "aEditorBar"), Ctl<QWidget>(x.f(), "plEditor")},
                     {Ctl<QAction>(x.f(), "aVideoBar"), Ctl<QWidget>(x.f(), "plVideo")},
                     {Ctl<QAction>(x.f(), "aControlBar"), Ctl<QWidget>(x.f(), "plControl")},
                     {Ctl<QAction>(x.f(), "aStatusBar"), Probe(x.f()).StatusBar()}};
        for (const auto& v : views) {
            v.command->trigger();
            QVERIFY(!v.command->isChecked());
            QVERIFY2(v.region->isHidden(), qPrintable(v.region->objectName()));
            x.CheckStack();
        }
        // Shown again in another order, the regions keep theirs.
        for (int i : {4, 2, 0, 3, 1}) {
            views[i].command->trigger();
            QVERIFY(views[i].command->isChecked());
            QVERIFY2(views[i].region->isVisible(), qPrintable(views[i].region->objectName()));
            x.CheckStack();
        }
    }

    void withoutTheEditorTheFilmFillsTheSpace() {
        Fixture x;
        x.f().resize(800, 700);
        x.Settle();
        Ctl<QAction>(x.f(), "aEditorBar")->trigger();
        x.Settle();
        QCOMPARE(Ctl<QWidget>(x.f(), "plVideo")->height(), Ctl<TRegionSplitter>(x.f(), "spUP")->height());
        QCOMPARE(x.At(Ctl<QWidget>(x.f(), "plVideo")).bottom() + 1, x.At(Ctl<QWidget>(x.f(), "plControl")).top());
        // Shown again: the video region takes 40 percent of the window's height.
        Ctl<QAction>(x.f(), "aEditorBar")->trigger();
        x.Settle();
        QVERIFY(Ctl<QWidget>(x.f(), "plEditor")->isVisible());
        QCOMPARE(Ctl<QWidget>(x.f(), "plVideo")->height(), int(std::trunc(x.f().height() * 0.4)));
        x.CheckStack();
    }

    void withoutAFilmThePanesTakeTheRoom() {
        Fixture x(false);
        auto* spUP = Ctl<TRegionSplitter>(x.f(), "spUP");
        QWidget* video = Ctl<QWidget>(x.f(), "plVideo");
        QWidget* editor = Ctl<QWidget>(x.f(), "plEditor");
        const double share = spUP->Share();
        // No caption panel shown: no picture region at all.
        QCOMPARE(video->height(), 0);
        QCOMPARE(editor->height(), spUP->Room());
        // The caption panels shown: just their height. A drag of the handle changes nothing.
        auto* left = Ctl<TKelPanel>(x.f(), "plSubL");
        auto* right = Ctl<TKelPanel>(x.f(), "plSubR");
        left->show();
        right->show();
        Probe(x.f()).StackCaptionPanels();
        x.Settle();
        QCOMPARE(video->height(), left->height() + right->height());
        QSplitterHandle* handle = spUP->handle(1);
        const QPoint middle = handle->rect().center();
        QTest::mousePress(handle, Qt::LeftButton, {}, middle);
        QTest::mouseMove(handle, middle - QPoint(0, 80));
        QTest::mouseRelease(handle, Qt::LeftButton, {}, middle - QPoint(0, 80));
        x.Settle();
        QCOMPARE(video->height(), left->height() + right->height());
        QCOMPARE(spUP->Share(), share);
        // The film open: its share back, the picture laid out before the film is loaded into it.
        QVERIFY(x.f().FileOpenMovieAccept(QStringLiteral("/films/f.avi")));
        QVERIFY2(x.player->ViewHeightAtOpen >= 50, qPrintable(QString::number(x.player->ViewHeightAtOpen)));
        x.Settle();
        QVERIFY(std::abs(video->height() - share * spUP->Room()) <= 1);
        QVERIFY(video->minimumHeight() >= 50);
        x.CheckStack();
    }

    void thePanesShareTheWidthEvenly() {
        Fixture x(false);
        for (const int width : {760, 1200}) {
            x.f().resize(width, 600);
            x.Settle();
            const int left = Ctl<QWidget>(x.f(), "plPaneL")->width();
            const int right = Ctl<QWidget>(x.f(), "plPaneR")->width();
            QVERIFY2(std::abs(left - right) <= 1, qPrintable(QStringLiteral("%1 %2").arg(left).arg(right)));
        }
    }

    void hiddenVideoComesBackWithItsShare() {
        Fixture x;
        const int video = Ctl<QWidget>(x.f(), "plVideo")->height();
        Ctl<QAction>(x.f(), "aVideoBar")->trigger();
        x.Settle();
        QCOMPARE(Ctl<QWidget>(x.f(), "plEditor")->height(), Ctl<TRegionSplitter>(x.f(), "spUP")->height());
        Ctl<QAction>(x.f(), "aVideoBar")->trigger();
        x.Settle();
        QVERIFY(std::abs(Ctl<QWidget>(x.f(), "plVideo")->height() - video) <= 1);
    }

    void extraHeightIsShared() {
        Fixture x;
        x.f().resize(800, 600);
        x.Settle();
        const int editor = Ctl<QWidget>(x.f(), "plEditor")->height();
        const int video = Ctl<QWidget>(x.f(), "plVideo")->height();
        const double share = Ctl<TRegionSplitter>(x.f(), "spUP")->Share();
        x.f().resize(800, 800);
        x.Settle();
        const int grownEditor = Ctl<QWidget>(x.f(), "plEditor")->height() - editor;
        const int grownVideo = Ctl<QWidget>(x.f(), "plVideo")->height() - video;
        QCOMPARE(grownEditor + grownVideo, 200);
        QVERIFY(std::abs(grownVideo - share * 200) <= 1.0);
        QVERIFY(grownEditor > 0 && grownVideo > 0);
        QCOMPARE(Ctl<TRegionSplitter>(x.f(), "spUP")->Share(), share);
    }

    void aDragSetsTheShare() {
        Fixture x;
        x.f().resize(800, 700);
        x.Settle();
        QSplitterHandle* handle = Ctl<TRegionSplitter>(x.f(), "spUP")->handle(1);
        const int before = Ctl<QWidget>(x.f(), "plVideo")->height();
        const QPoint middle = handle->rect().center();
        QTest::mousePress(handle, Qt::LeftButton, {}, middle);
        QTest::mouseMove(handle, middle - QPoint(0, 60));
        QTest::mouseRelease(handle, Qt::LeftButton, {}, middle - QPoint(0, 60));
        x.Settle();
        // Within a pixel: the handle is three high, the grip anywhere on it.
        QVERIFY(std::abs(Ctl<QWidget>(x.f(), "plVideo")->height() - (before + 60)) <= 1);
        const double share = double(Ctl<QWidget>(x.f(), "plVideo")->height()) / Ctl<TRegionSplitter>(x.f(), "spUP")->Room();
        QVERIFY(std::abs(Ctl<TRegionSplitter>(x.f(), "spUP")->Share() - share) < 1e-9);
    }

    void theShareIsStoredAndRestored() {
        int video = 0;
        QSize size;
        {
            Fixture x;
            Ctl<TRegionSplitter>(x.f(), "spUP")->SetShare(0.55);
            x.Settle();
            video = Ctl<QWidget>(x.f(), "plVideo")->height();
            size = x.f().size();
        }
        QCOMPARE(OpenSettings()->value("Form.Main.VideoShare").toInt(), 5500);
        {
            Fixture x;
            QCOMPARE(x.f().size(), size);
            QCOMPARE(Ctl<TRegionSplitter>(x.f(), "spUP")->Share(), 0.55);
            QCOMPARE(Ctl<QWidget>(x.f(), "plVideo")->height(), video);
        }
    }

    void unusableStoredShareIsIgnored_data() {
        QTest::addColumn<QVariant>("stored");
        QTest::newRow("zero") << QVariant(0);
        QTest::newRow("whole") << QVariant(10000);
        QTest::newRow("negative") << QVariant(-5);
        QTest::newRow("text") << QVariant("half");
    }
    void unusableStoredShareIsIgnored() {
        QFETCH(QVariant, stored);
        OpenSettings()->setValue("Form.Main.VideoShare", stored);
        Fixture x;
        const double share = Ctl<TRegionSplitter>(x.f(), "spUP")->Share();
        QVERIFY(share > 0.01 && share < 0.99);
        QVERIFY(Ctl<QWidget>(x.f(), "plEditor")->height() >= 50 && Ctl<QWidget>(x.f(), "plVideo")->height() >= 50);
    }

    void firstStartShowsAUsefulPicture() {
        Fixture x;
        // Both caption panels shown at their three lines.
        for (TKelPanel* panel : {Ctl<TKelPanel>(x.f(), "plSubL"), Ctl<TKelPanel>(x.f(), "plSubR")})
            panel->show();
        Probe(x.f()).StackCaptionPanels();
        x.Settle();
        QWidget* picture = Ctl<QWidget>(x.f(), "plVideo")->findChild<QWidget*>(QStringLiteral("MediaPlayer"));
        QVERIFY(picture);
        QCOMPARE(Probe(x.f()).Pane(0)->CaptionHeight, -3);
        QCOMPARE(Ctl<TKelPanel>(x.f(), "plSubL")->height(), 3 * Probe(x.f()).Pane(0)->CaptionLineHeight);
        QVERIFY2(picture->height() >= 135, qPrintable(QString::number(picture->height())));
        QVERIFY(picture->width() >= 240);
        QVERIFY(Ctl<QWidget>(x.f(), "plEditor")->height() >= 50);
        // The window is at least as large as the stored defaults, and what it opened at is
        // what the next start finds.
        QVERIFY(x.f().width() >= 760 && x.f().height() >= 580);
        QCOMPARE(Probe(x.f()).FormSizes()[0], x.f().width());
        QCOMPARE(Probe(x.f()).FormSizes()[1], x.f().height());
    }

    void storedSizeIsKeptAsStored() {
        OpenSettings()->setValue("Form.Main.Width", 700);
        OpenSettings()->setValue("Form.Main.Height", 500);
        Fixture x;
        QCOMPARE(x.f().size(), QSize(700, 500));
        QCOMPARE(Probe(x.f()).FormSizes()[0], 700);
    }

    void noMenuOfQtsOwnOnTheBars() {
        Fixture x;
        QCOMPARE(static_cast<QMainWindow&>(x.f()).createPopupMenu(), nullptr);
        for (QWidget* bar :
             {static_cast<QWidget*>(Ctl<QToolBar>(x.f(), "atBarMain")), static_cast<QWidget*>(Ctl<QMenuBar>(x.f(), "MainMenu")),
              static_cast<QWidget*>(Ctl<QToolBar>(x.f(), "ToolBarControl"))}) {
            QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(5, 5),
                                    bar->mapToGlobal(QPoint(5, 5)));
            QApplication::sendEvent(bar, &event);
            QCOMPARE(QApplication::activePopupWidget(), nullptr);
        }
        QVERIFY(Ctl<QToolBar>(x.f(), "atBarMain")->isVisible());
    }

    void theAboutBoxAndTheSizeDialogShowModally() {
        TScriptedQuestions questions;
        Fixture x;
        TAboutForm about;
        TAdjustForm adjust(x.form.get(), &Probe(x.f()).FormSizes());
        Probe(x.f()).AboutForm() = &about;
        Probe(x.f()).AdjustForm() = &adjust;
        QList<QDialog*> shown;
        questions.DialogScripts << [&](QDialog* d) {
            shown << d;
            return int(mrOk);
        };
        Ctl<QAction>(x.f(), "aAbout")->trigger();
        // The size dialog opens on the window's present size.
        x.f().resize(820, 640);
        QString offered;
        questions.DialogScripts << [&](QDialog* d) {
            shown << d;
            offered = adjust.leMainWidth->text();
            adjust.leMainHeight->setText(QStringLiteral("610"));
            adjust.bbtnOkClick();
            return int(mrOk);
        };
        Ctl<QAction>(x.f(), "aAdjustSize")->trigger();
        QCOMPARE(shown, (QList<QDialog*>{&about, &adjust}));
        QCOMPARE(offered, QStringLiteral("820"));
        QCOMPARE(x.f().size(), QSize(820, 610));
        QCOMPARE(Probe(x.f()).FormSizes()[1], 610);
    }
};

QTEST_MAIN(TestViews)
#include "tst_views.moc"

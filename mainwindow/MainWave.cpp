// The film's sound under the picture: the region plWave with the waveform view, the command
// that shows it, the reading of a film's sound on its own thread with its progress and a way to
// stop it in the status bar, and the view's requests to the film (seek, play a stretch).
#include "Main.h"

#include "EditorHost.h"
#include "FilmPlayer.h"
#include "SoundReader.h"
#include "Texts.h"
#include "WaveView.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QSettings>
#include <QSplitter>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

const char* const kWaveShownName = "Wave.Show";
const char* const kWaveHeightName = "Wave.Height";
constexpr int kWaveHeight = 120;

} // namespace

QSplitter* TMainForm::BuildWave(QWidget* regions) {
    spWave = new QSplitter(Qt::Vertical, regions->parentWidget());
    spWave->setObjectName(QStringLiteral("spWave"));
    spWave->setHandleWidth(3);
    spWave->setChildrenCollapsible(false);
    spWave->addWidget(regions);

    plWave = new QWidget(spWave);
    plWave->setObjectName(QStringLiteral("plWave"));
    plWave->setMinimumHeight(60);
    auto* layout = new QVBoxLayout(plWave);
    layout->setContentsMargins(0, 0, 0, 0);
    spWave->addWidget(plWave);
    spWave->setStretchFactor(0, 1);
    spWave->setStretchFactor(1, 0);
    plWave->hide(); // until a film with sound is open

    aWaveBar = new QAction(TextOf(txWaveBar), this);
    aWaveBar->setObjectName(QStringLiteral("aWaveBar"));
    NameFromTable(aWaveBar, txWaveBar);
    aWaveBar->setProperty("category", QStringLiteral("View"));
    aWaveBar->setCheckable(true);
    if (QMenu* view = MainMenu ? MainMenu->findChild<QMenu*>(QStringLiteral("muView")) : nullptr)
        view->insertAction(aControlBar, aWaveBar);

    std::unique_ptr<QSettings> key = OpenSettings();
    aWaveBar->setChecked(key->value(QString::fromLatin1(kWaveShownName), true).toBool());
    waveHeight_ = std::max(60, key->value(QString::fromLatin1(kWaveHeightName), kWaveHeight).toInt());
    connect(aWaveBar, &QAction::toggled, this, [this](bool on) {
        OpenSettings()->setValue(QString::fromLatin1(kWaveShownName), on);
        ShowWave();
    });
    return spWave;
}

void TMainForm::BuildWaveView() {
    wvAudio = new TWaveView(host_, plWave);
    plWave->layout()->addWidget(wvAudio);
    wvAudio->ReadSettings(*OpenSettings());
    // The view's switches are the 檢視 menu's too: one command each, in both menus.
    QMenu* view = MainMenu ? MainMenu->findChild<QMenu*>(QStringLiteral("muView")) : nullptr;
    const std::pair<QAction*, int> switches[] = {{wvAudio->aSpectrum, txShowSpectrum},
                                                 {wvAudio->aSnap, txSnap}};
    for (const auto& [command, text] : switches) {
        NameFromTable(command, text);
        command->setProperty("category", QStringLiteral("View"));
        if (view) view->insertAction(aControlBar, command);
    }
    NameFromTable(wvAudio->aPlayStretch, txPlayStretch);
    // The 播放 menu's keys work while the view has the focus, as they do from the grids.
    wvAudio->addActions(TimingCommands);
    connect(wvAudio, &TWaveView::switchesChanged, this,
            [this] { wvAudio->WriteSettings(*OpenSettings()); });
    connect(spWave, &QSplitter::splitterMoved, this, [this] {
        if (!plWave->isVisible()) return;
        waveHeight_ = plWave->height();
        OpenSettings()->setValue(QString::fromLatin1(kWaveHeightName), waveHeight_);
    });
    connect(wvAudio, &TWaveView::seekRequested, this, [this](int64_t ms) {
        if (!Player || Player->FileName().isEmpty()) return;
        Player->SetCurrentPosition(ms / 1000.0);
        FollowSeek();
    });
    connect(wvAudio, &TWaveView::playStretchRequested, this, &TMainForm::WavePlayStretch);

    SoundReader = new TSoundReader(
        QStandardPaths::writableLocation(QStandardPaths::CacheLocation) + QStringLiteral("/sound"),
        this);
    connect(SoundReader, &TSoundReader::progress, this, [this](int percent) {
        Panels[0]->setText(TextOf(txReadingSound).arg(percent));
    });
    connect(SoundReader, &TSoundReader::finished, this,
            [this](const QString&, std::shared_ptr<const TSound> sound, bool) {
                EndWaveReading();
                wvAudio->SetSound(std::move(sound));
                ShowWave();
            });
    // The reason stays unsaid: it is the library's English, and a film without sound needs none.
    connect(SoundReader, &TSoundReader::failed, this, [this] {
        EndWaveReading();
        ShowWave();
    });

    stretchTimer_ = new QTimer(this);
    stretchTimer_->setInterval(10);
    connect(stretchTimer_, &QTimer::timeout, this, [this] {
        if (!Player || Player->PlayState() != TFilmPlayer::Playing) {
            stretchTimer_->stop();
        } else if (Player->CurrentPosition() >= stretchEnd_) {
            stretchTimer_->stop();
            Player->Pause();
        }
    });
}

void TMainForm::WaveFilmOpened(const QString& path) {
    if (!wvAudio) return;
    wvAudio->SetSound(nullptr);
    wvAudio->SetFilmLength(Player ? int64_t(std::max(0.0, Player->Duration()) * 1000) : 0);
    wvAudio->ShowWholeFilm();
    if (!sbStopReading) {
        sbStopReading = new QToolButton(StatusBar);
        sbStopReading->setObjectName(QStringLiteral("sbStopReading"));
        sbStopReading->setText(TextOf(txStopReading));
        sbStopReading->setAutoRaise(true);
        StatusBar->addPermanentWidget(sbStopReading);
        connect(sbStopReading, &QToolButton::clicked, this, [this] {
            SoundReader->Stop();
            EndWaveReading();
            ShowWave();
        });
    }
    // Opening another film drops the reading of the one before.
    SoundReader->Start(path);
    Panels[0]->setText(TextOf(txReadingSound).arg(0));
    sbStopReading->show();
    ShowWave();
}

void TMainForm::EndWaveReading() {
    if (sbStopReading) sbStopReading->hide();
    Panels[0]->clear();
}

void TMainForm::ShowWave() {
    if (!wvAudio) return;
    // Shown once the film's sound is there: a film without sound, or one whose sound cannot be
    // read, leaves the regions above as they were.
    const bool shown = aWaveBar->isChecked() && wvAudio->Sound();
    if (shown == plWave->isVisible()) return;
    plWave->setVisible(shown);
    if (shown) {
        const int total = spWave->height() - spWave->handleWidth();
        const int wave = std::clamp(waveHeight_, 60, std::max(60, total - 100));
        spWave->setSizes({total - wave, wave});
    }
}

void TMainForm::WavePlayStretch(int64_t fromMs, int64_t toMs) {
    if (!Player || Player->FileName().isEmpty() || toMs <= fromMs) return;
    Player->SetCurrentPosition(fromMs / 1000.0);
    stretchEnd_ = toMs / 1000.0;
    Player->Play();
    stretchTimer_->start();
}

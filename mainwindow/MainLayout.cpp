// The window's controls, menus, tool bars and status bar, laid out from top to bottom.
#include "Main.h"

#include "FilmPlayer.h"
#include "Kellabel.h"
#include "Kelpanel.h"
#include "RegionSplitter.h"
#include "Subtitle.h"
#include "SubtitleGridView.h"
#include "Texts.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QProxyStyle>
#include <QScreen>
#include <QSlider>
#include <QSpinBox>
#include <QSplitter>
#include <QStatusBar>
#include <QTableView>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

namespace {

TMainForm* theMainForm = nullptr;

QWidget* NewPanel(const char* name, QWidget* parent) {
    auto* panel = new QWidget(parent);
    panel->setObjectName(QString::fromLatin1(name));
    return panel;
}

// A pane's one-line title bar: white 8-point text on grey with a black drop shadow. A click on
// it enters the pane (the window's event filter).
TKelLabel* NewTitleBar(const char* name, QWidget* parent) {
    auto* label = new TKelLabel(QStringLiteral("[ ]"), parent);
    label->setObjectName(QString::fromLatin1(name));
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPixelSize(11);
    label->setFont(font);
    // Docked across the pane: the layout gives the width, not the caption.
    label->setAutoSize(false);
    label->setElideMiddle(true);
    label->setColor(QColor(0x80, 0x80, 0x80));
    label->setFontColor(Qt::white);
    label->setShadowColor(Qt::black);
    label->setTextStyle(tsShadow);
    label->setMinimumHeight(13);
    label->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    return label;
}

QTableView* NewGrid(const char* name, QWidget* parent) {
    auto* grid = new TSubtitleGridView(parent);
    grid->setObjectName(QString::fromLatin1(name));
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid->verticalHeader()->hide();
    grid->verticalHeader()->setDefaultSectionSize(grid->fontMetrics().height() + 4);
    grid->horizontalHeader()->setStretchLastSection(true);
    // A highlighted column title asks the selection about every row of its column at each
    // paint: with every row of a million selected, that is seconds. The titles stay plain.
    grid->horizontalHeader()->setHighlightSections(false);
    grid->setContextMenuPolicy(Qt::CustomContextMenu);
    return grid;
}

QToolBar* NewSideBar(const char* name, QWidget* parent) {
    auto* bar = new QToolBar(parent);
    bar->setObjectName(QString::fromLatin1(name));
    bar->setOrientation(Qt::Vertical);
    bar->setIconSize(QSize(20, 20));
    bar->setFixedWidth(31);
    bar->setMovable(false);
    return bar;
}

// A spinner 0 to 999 without wrapping; its text field is the labelled edit of the pair.
QSpinBox* NewSpinner(const char* spinName, const char* editName, int value, QLineEdit*& edit,
                     QWidget* parent) {
    auto* spin = new QSpinBox(parent);
    spin->setObjectName(QString::fromLatin1(spinName));
    spin->setRange(0, 999);
    spin->setWrapping(false);
    spin->setValue(value);
    spin->setFixedWidth(52);
    edit = spin->findChild<QLineEdit*>();
    edit->setObjectName(QString::fromLatin1(editName));
    return spin;
}

QLabel* NewText(const char* name, const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    // Named, so that a language pack can find it.
    label->setObjectName(QString::fromLatin1(name));
    label->setContentsMargins(3, 0, 3, 0);
    return label;
}

// The track bar's look with one change: the left button sets the thumb where it presses, as a
// timer expects of a film's time line, and dragging from there scrubs.
class TJumpingSliderStyle : public QProxyStyle {
public:
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returned) const override {
        if (hint == QStyle::SH_Slider_AbsoluteSetButtons) return Qt::LeftButton | Qt::MiddleButton;
        return QProxyStyle::styleHint(hint, option, widget, returned);
    }
};

} // namespace

TMainForm* MainForm() {
    return theMainForm;
}

TMainForm::TMainForm(PlayerFactory createPlayer, QWidget* parent)
    : QMainWindow(parent), createPlayer_(std::move(createPlayer)) {
    theMainForm = this;
    setObjectName(QStringLiteral("MainForm"));
    setWindowTitle(TextOf(txAppName));
    setFont(QFont(QStringLiteral("新細明體"), 9));

    // 760 by 580 before the settings apply, centred on the screen.
    resize(760, 580);
    if (const QScreen* screen = QApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        move(area.center() - rect().center());
    }

    BuildCommands();
    BuildMenus();
    BuildLayout();
    BuildStatusBar();

    MovieTimer = new QTimer(this);
    MovieTimer->setObjectName(QStringLiteral("MovieTimer"));
    MovieTimer->setInterval(250);
    MovieTimer->setProperty("tag", 0);
    connect(MovieTimer, &QTimer::timeout, this, &TMainForm::MovieTimerTimer);
    SubTimerL = new QTimer(this);
    SubTimerL->setObjectName(QStringLiteral("SubTimerL"));
    SubTimerL->setInterval(250);
    SubTimerL->setProperty("tag", 0);
    connect(SubTimerL, &QTimer::timeout, this, [this] { SubTimerLTimer(0); });
    SubTimerR = new QTimer(this);
    SubTimerR->setObjectName(QStringLiteral("SubTimerR"));
    SubTimerR->setInterval(500);
    SubTimerR->setProperty("tag", 1);
    connect(SubTimerR, &QTimer::timeout, this, [this] { SubTimerLTimer(1); });
    MakePanes();
    AttachTimingKeys();

    FormCreate();
}

TMainForm::~TMainForm() {
    FormDestroy();
    if (theMainForm == this) theMainForm = nullptr;
}

void TMainForm::BuildMenus() {
    MainMenu = menuBar();
    MainMenu->setObjectName(QStringLiteral("MainMenu"));
    auto menu = [this](const char* name, const QString& caption) {
        QMenu* m = MainMenu->addMenu(caption);
        m->setObjectName(QString::fromLatin1(name));
        return m;
    };

    QMenu* file = menu("muFile", "檔案(&F)");
    file->addAction(FileOpenMovie);
    file->addSeparator();
    file->addAction(aOpenSubtitleL);
    file->addAction(aSaveL);
    file->addAction(aSaveAsL);
    file->addSeparator();
    file->addAction(aOpenSubtitleR);
    file->addAction(aSaveR);
    file->addAction(aSaveAsR);
    file->addSeparator();
    file->addAction(aCombine);
    file->addAction(aImport);
    file->addSeparator();
    QAction** recent[4] = {&muF1, &muF2, &muF3, &muF4};
    for (int i = 0; i < 4; ++i) {
        QAction* item = file->addAction(QString());
        item->setObjectName(QStringLiteral("muF%1").arg(i + 1));
        item->setVisible(false);
        item->setProperty("tag", i);
        connect(item, &QAction::triggered, this, [this, i] { muF1Click(i); });
        *recent[i] = item;
    }
    muLine = file->addSeparator();
    muLine->setObjectName(QStringLiteral("muLine"));
    muLine->setVisible(false);
    file->addAction(FileExit);

    QMenu* edit = menu("muEdit", "編輯(&E)");
    edit->addAction(aUndo);
    edit->addAction(aRedo);

    QMenu* search = menu("muSearch", "尋找(&S)");
    search->addAction(aFind);
    search->addAction(aFindNext);
    search->addAction(aReplace);

    QMenu* view = menu("muView", "檢視(&V)");
    for (QAction* a : {aToolBar, aEditorBar, aVideoBar, aControlBar, aStatusBar, aAdjustSize})
        view->addAction(a);

    for (int side = 0; side < 2; ++side) {
        QMenu* m = side ? menu("muRight", "右側字幕(&R)") : menu("muLeft", "左側字幕(&L)");
        m->addAction(side ? aShowSubR : aShowSubL);
        m->addAction(side ? aReopenR : aReopenL);
        m->addSeparator();
        m->addAction(side ? aFontEditR : aFontEditL);
        m->addAction(side ? aColorSelectR : aColorSelectL);
        m->addAction(side ? aSubHeightR : aSubHeightL);
        AddChineseCommands(m, side);
    }

    QMenu* play = menu("muPlay", "播放(&P)");
    for (QAction* a : TimingCommands) {
        play->addAction(a);
        if (a == aFrameForward || a == aPlayEntry || a == aSetEndNext || a == aEndForward100)
            play->addSeparator();
    }
    play->addSeparator();
    play->addAction(aShortcuts);

    QMenu* language = menu("muLanguage", "Language(&U)");
    for (QAction* a : {aSelCHT, aSelCHS, aSelENU})
        language->addAction(a);

    QMenu* help = menu("muHelp", "說明(&H)");
    help->addAction(aAbout);

    popMenu = new QMenu(this);
    popMenu->setObjectName(QStringLiteral("popMenu"));
    popMenu->addAction(aNewLine);
    popMenu->addAction(aDelLine);
    popMenu->addSeparator();
    popMenu->addAction(aUndo);
    popMenu->addAction(aRedo);
    AddChinesePopup(popMenu);
}

void TMainForm::BuildLayout() {
    atBarMain = new QToolBar(this);
    atBarMain->setObjectName(QStringLiteral("atBarMain"));
    atBarMain->setMovable(false);
    atBarMain->setIconSize(QSize(20, 20));
    atBarMain->setMinimumHeight(30);
    for (QAction* a : {FileOpenMovie, aCombine, aImport, static_cast<QAction*>(nullptr),
                       aEditSubtitle, aCheckTime, static_cast<QAction*>(nullptr), aFind, aFindNext,
                       aReplace, static_cast<QAction*>(nullptr), aSyncLR}) {
        if (a)
            atBarMain->addAction(a);
        else
            atBarMain->addSeparator();
    }
    addToolBar(Qt::TopToolBarArea, atBarMain);

    auto* central = new QWidget(this);
    central->setObjectName(QStringLiteral("plCentral"));
    auto* centralLayout = new QVBoxLayout(central);
    centralLayout->setContentsMargins(0, 0, 0, 0);
    centralLayout->setSpacing(0);
    setCentralWidget(central);

    // The film region and the editor region share the height through spUP, which keeps the
    // video region's share as the window grows or shrinks.
    spUP = new TRegionSplitter(central);
    spUP->setObjectName(QStringLiteral("spUP"));
    spUP->setHandleWidth(3);
    spUP->setChildrenCollapsible(false);
    centralLayout->addWidget(BuildWave(spUP), 1);

    plEditor = NewPanel("plEditor", spUP);
    plEditor->setMinimumHeight(50);
    auto* editorLayout = new QHBoxLayout(plEditor);
    editorLayout->setContentsMargins(0, 0, 0, 0);
    editorLayout->setSpacing(0);

    atBarL = NewSideBar("atBarL", plEditor);
    atBarR = NewSideBar("atBarR", plEditor);
    for (int side = 0; side < 2; ++side) {
        QToolBar* bar = side ? atBarR : atBarL;
        for (QAction* a : side ? QList<QAction*>{aOpenSubtitleR, aShowSubR, aSyncR, aSegModifyR,
                                                 aSaveR, aSaveAsR, aReopenR}
                               : QList<QAction*>{aOpenSubtitleL, aShowSubL, aSyncL, aSegModifyL,
                                                 aSaveL, aSaveAsL, aReopenL})
            bar->addAction(a);
    }

    SplitterHor = new QSplitter(Qt::Horizontal, plEditor);
    SplitterHor->setObjectName(QStringLiteral("SplitterHor"));
    SplitterHor->setHandleWidth(3);
    SplitterHor->setChildrenCollapsible(false);
    for (int side = 0; side < 2; ++side) {
        QWidget* pane = NewPanel(side ? "plPaneR" : "plPaneL", SplitterHor);
        pane->setMinimumWidth(50);
        auto* paneLayout = new QVBoxLayout(pane);
        paneLayout->setContentsMargins(0, 0, 0, 0);
        paneLayout->setSpacing(0);
        TKelLabel* title = NewTitleBar(side ? "lbFilenameR" : "lbFilenameL", pane);
        QTableView* grid = NewGrid(side ? "sgSubR" : "sgSubL", pane);
        paneLayout->addWidget(title);
        paneLayout->addWidget(grid, 1);
        connect(grid, &QWidget::customContextMenuRequested, this,
                [this, grid](const QPoint& at) { popMenu->popup(grid->mapToGlobal(at)); });
        (side ? lbFilenameR : lbFilenameL) = title;
        (side ? sgSubR : sgSubL) = grid;
        // The two panes share the width evenly, also as the window grows.
        SplitterHor->setStretchFactor(side, 1);
    }
    SplitterHor->setSizes({(760 - 62 - 3) / 2, (760 - 62 - 3) / 2});

    editorLayout->addWidget(atBarL);
    editorLayout->addWidget(SplitterHor, 1);
    editorLayout->addWidget(atBarR);

    // The film fills the video region; the two caption panels lie at its bottom, left above
    // right, hidden until a document is shown.
    plVideo = NewPanel("plVideo", spUP);
    plVideo->setMinimumHeight(50);
    plVideo->setAutoFillBackground(true);
    QPalette black = plVideo->palette();
    black.setColor(QPalette::Window, Qt::black);
    plVideo->setPalette(black);
    auto* videoLayout = new QVBoxLayout(plVideo);
    videoLayout->setContentsMargins(0, 0, 0, 0);
    videoLayout->setSpacing(0);
    for (int side = 0; side < 2; ++side) {
        auto* caption = new TKelPanel(plVideo);
        caption->setObjectName(QString::fromLatin1(side ? "plSubR" : "plSubL"));
        caption->setTextStyle(tsNone);
        caption->setBevelOuter(bvNone);
        caption->setColor(Qt::black);
        QFont font(QStringLiteral("MS Sans Serif"));
        font.setPixelSize(11);
        caption->SetFont(font, QApplication::palette().color(QPalette::WindowText));
        caption->setFixedHeight(side ? 41 : 39);
        caption->hide();
        videoLayout->addWidget(caption);
        (side ? plSubR : plSubL) = caption;
    }
    spUP->setSizes({580 - 185, 185});

    plControl = NewPanel("plControl", central);
    auto* controlLayout = new QVBoxLayout(plControl);
    controlLayout->setContentsMargins(0, 0, 0, 0);
    controlLayout->setSpacing(0);
    centralLayout->addWidget(plControl);

    TrackBar = new QSlider(Qt::Horizontal, plControl);
    TrackBar->setObjectName(QStringLiteral("TrackBar"));
    TrackBar->setMinimumHeight(20);
    TrackBar->setTickPosition(QSlider::TicksBelow);
    TrackBar->setRange(0, 0);
    TrackBar->setEnabled(false);
    // A click puts the thumb where it lands, not a page nearer.
    auto* jump = new TJumpingSliderStyle;
    jump->setParent(TrackBar);
    TrackBar->setStyle(jump);
    connect(TrackBar, &QSlider::valueChanged, this, &TMainForm::TrackBarChange);
    controlLayout->addWidget(TrackBar);

    ToolBarControl = new QToolBar(plControl);
    ToolBarControl->setObjectName(QStringLiteral("ToolBarControl"));
    ToolBarControl->setIconSize(QSize(20, 20));
    ToolBarControl->setMovable(false);
    for (QAction* a : {aPlay, aPause, aStop, aSlow, aForward})
        ToolBarControl->addAction(a);
    ToolBarControl->addSeparator();
    controlLayout->addWidget(ToolBarControl);

    ToolBarControl->addWidget(NewText("lbSecFrom", "從前", ToolBarControl));
    udSecFrom = NewSpinner("udSecFrom", "leSecFrom", 2, leSecFrom, ToolBarControl);
    ToolBarControl->addWidget(udSecFrom);
    ToolBarControl->addWidget(NewText("lbSecTo", "秒  到後", ToolBarControl));
    udSecTo = NewSpinner("udSecTo", "leSecTo", 2, leSecTo, ToolBarControl);
    ToolBarControl->addWidget(udSecTo);
    ToolBarControl->addWidget(NewText("lbSecUnit", "秒", ToolBarControl));
    sbSecRepeat = new QToolButton(ToolBarControl);
    sbSecRepeat->setObjectName(QStringLiteral("sbSecRepeat"));
    sbSecRepeat->setDefaultAction(aSecRepeat);
    sbSecRepeat->setAutoRaise(true);
    sbSecRepeat->setIconSize(QSize(20, 20));
    ToolBarControl->addWidget(sbSecRepeat);
    ToolBarControl->addSeparator();

    ToolBarControl->addWidget(NewText("lbSubFrom", "從前", ToolBarControl));
    udSubFrom = NewSpinner("udSubFrom", "leSubFrom", 0, leSubFrom, ToolBarControl);
    ToolBarControl->addWidget(udSubFrom);
    ToolBarControl->addWidget(NewText("lbSubTo", "句  到後", ToolBarControl));
    udSubTo = NewSpinner("udSubTo", "leSubTo", 0, leSubTo, ToolBarControl);
    ToolBarControl->addWidget(udSubTo);
    ToolBarControl->addWidget(NewText("lbSubUnit", "句", ToolBarControl));
    SpeedButton5 = new QToolButton(ToolBarControl);
    SpeedButton5->setObjectName(QStringLiteral("SpeedButton5"));
    SpeedButton5->setDefaultAction(aSubRepeat);
    SpeedButton5->setAutoRaise(true);
    SpeedButton5->setIconSize(QSize(20, 20));
    ToolBarControl->addWidget(SpeedButton5);
}

void TMainForm::BuildStatusBar() {
    StatusBar = statusBar();
    StatusBar->setObjectName(QStringLiteral("StatusBar"));
    const int widths[5] = {220, 110, 110, 150, 50};
    // The widest texts the counts, time and speed panels show: they must never be cut off,
    // whatever face the 9-point font falls back to. The hint panel gives way instead; it takes
    // what is left, at least its own width when the window is wide enough.
    const char* const widest[5] = {"", "[MSUB] 0000 -- 0000", "[MSUB] 0000 -- 0000",
                                   "00:00:00,000 -- 00:00:00,000", "16.00X Speed"};
    for (int i = 0; i < 5; ++i) {
        auto* panel = new QLabel(StatusBar);
        panel->setObjectName(QStringLiteral("StatusPanel%1").arg(i));
        panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        if (i == 0) {
            panel->setMinimumWidth(widths[0] / 2);
            StatusBar->addWidget(panel, 1);
        } else {
            panel->setText(QString::fromLatin1(widest[i]));
            const int needed = panel->sizeHint().width() + 4;
            panel->clear();
            panel->setFixedWidth(std::max(widths[i], needed));
            StatusBar->addWidget(panel);
        }
        Panels[i] = panel;
    }
}

void TMainForm::showEvent(QShowEvent* event) {
    if (!firstShowDone_) {
        firstShowDone_ = true;
        FormShow();
    }
    QMainWindow::showEvent(event);
}

QMenu* TMainForm::createPopupMenu() {
    return nullptr;
}

void TMainForm::closeEvent(QCloseEvent* event) {
    bool canClose = true;
    FormCloseQuery(canClose);
    if (canClose)
        event->accept();
    else
        event->ignore();
}

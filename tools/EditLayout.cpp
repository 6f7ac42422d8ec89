// The edit window's controls: names, texts, hints, masks, steps, colours, the states they start
// in and where they sit.
#include "Edit.h"
#include "Hint.h"

#include "EditorHost.h"
#include "MaskEdit.h"
#include "UpDown.h"

#include <QAction>
#include <QCheckBox>
#include <QGroupBox>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyle>
#include <QToolButton>

namespace {

// A strip of film: the button that takes the film's moment.
QIcon FilmIcon() {
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.fillRect(1, 2, 14, 12, QColor(0x30, 0x30, 0x30));
    p.fillRect(4, 5, 8, 6, QColor(0x80, 0xC0, 0xFF));
    for (int x = 2; x < 15; x += 3) {
        p.fillRect(x, 3, 1, 1, Qt::white);
        p.fillRect(x, 12, 1, 1, Qt::white);
    }
    return QIcon(pixmap);
}

QToolButton* FlatButton(QWidget* parent) {
    auto* button = new QToolButton(parent);
    button->setAutoRaise(true);
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

QPushButton* Button(const QString& text, QStyle::StandardPixmap icon, QWidget* parent) {
    auto* button = new QPushButton(parent->style()->standardIcon(icon), text, parent);
    // Enter in a field is no press of a button: the window has no default button.
    button->setAutoDefault(false);
    return button;
}

constexpr int kFieldHeight = 21;
constexpr int kSpinnerWidth = 13;

} // namespace

TEditForm::TEditForm(TEditorHost* host, QWidget* parent)
    : TDialogBase(parent ? parent : host->Window(), "EditForm", QStringLiteral("編輯視窗"),
                  kDesignSize, TDialogFrame::Fixed, TFormSlot::Edit),
      host_(host) {
    // A tool window above the main window, with a close box only.
    setWindowFlags(Qt::Tool | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint |
                   Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setModal(false);
    SetHint(this, QStringLiteral("|請直接以滑鼠點選主視窗要修改的字幕"));
    SetBackground(QColor(133, 192, 192));
    BuildControls();
    BuildSettings();
    Connect();
    ApplyLanguage();
}

void TEditForm::BuildControls() {
    GroupBox2 =
        Place(new QGroupBox(QStringLiteral("字幕設定"), this), "GroupBox2", QRect(4, 2, 272, 172));
    SetHint(GroupBox2, QStringLiteral("|請直接以滑鼠點選主視窗要修改的字幕"));
    QWidget* g = GroupBox2;

    cbKeepRelate = Place(new QCheckBox(QStringLiteral("後續字幕相對調整"), g), "cbKeepRelate",
                         QRect(6, 18, 120, 17));
    cbKeepRelate->setChecked(true);
    SetHint(cbKeepRelate, QStringLiteral("|後續字幕將會跟著新修改時間一併相對移動"));
    Label10 = Place(new QLabel(QStringLiteral("(只限於修改字幕開始時間)"), g), "Label10",
                    QPoint(128, 20));

    cbKeepDelay = Place(new QCheckBox(QStringLiteral("保持延遲時間"), g), "cbKeepDelay",
                        QRect(6, 41, 96, 17));
    cbKeepDelay->setChecked(true);
    lbDelay = Place(new QLabel(QStringLiteral("延遲時間:"), g), "lbDelay", QPoint(104, 43));
    meDelay = Place(new TMaskEdit(g), "meDelay", QRect(162, 39, 46, kFieldHeight));
    meDelay->SetEditMask(QStringLiteral("!00:000;1;_"));
    meDelay->SetValue(QStringLiteral("00:000"));
    QPalette red = meDelay->palette();
    red.setColor(QPalette::Text, Qt::red);
    meDelay->setPalette(red);
    upDelay = Place(new TUpDown(g), "upDelay", QRect(208, 39, kSpinnerWidth, kFieldHeight));
    upDelay->setIncrement(50);
    SetHint(upDelay, QStringLiteral("往前,後調整50微杪|往前調整50微杪或往後調整50微杪"));

    // One row of four fields per time, each with its spinner, the separators between them, and
    // the button that takes the film's moment.
    static const char* const fieldNames[2][4] = {
        {"meStartHour", "meStartMinute", "meStartSec", "meStartms"},
        {"meEndHour", "meEndMinute", "meEndSec", "meEndms"}};
    static const char* const spinnerNames[2][4] = {
        {"upStartHour", "upStartMinute", "upStartSec", "upStartms"},
        {"upEndHour", "upEndMinute", "upEndSec", "upEndms"}};
    static const char* const separatorNames[2][3] = {{"Label1", "Label2", "Label3"},
                                                     {"Label4", "Label5", "Label6"}};
    static const int steps[4] = {3600000, 60000, 1000, 50};
    static const QString hints[4] = {
        QStringLiteral("往前,後調整1小時|往前調整一小時或往後調整一小時"),
        QStringLiteral("往前,後調整1分|往前調整一分或往後調整一分"),
        QStringLiteral("往前,後調整1秒|往前調整一秒或往後調整一秒"),
        QStringLiteral("往前,後調整50微杪|往前調整50微杪或往後調整50微杪")};
    static const QString masks[4] = {QStringLiteral("!90;1;_"), QStringLiteral("!00;1;_"),
                                     QStringLiteral("!00;1;_"), QStringLiteral("!000;1;_")};
    static const QString zeros[4] = {QStringLiteral("00"), QStringLiteral("00"),
                                     QStringLiteral("00"), QStringLiteral("000")};
    for (int which = 0; which < 2; ++which) {
        const int y = which ? 91 : 65;
        QLabel* title =
            Place(new QLabel(which ? QStringLiteral("結束時間:") : QStringLiteral("開始時間:"), g),
                  which ? "lbEnd" : "lbStart", QPoint(6, y + 3));
        (which ? lbEnd : lbStart) = title;
        int x = 64;
        for (int k = 0; k < 4; ++k) {
            const int width = k == 3 ? 29 : 22;
            TMaskEdit* field =
                Place(new TMaskEdit(g), fieldNames[which][k], QRect(x, y, width, kFieldHeight));
            field->SetEditMask(masks[k]);
            field->SetValue(zeros[k]);
            TimeField[which][k] = field;
            TUpDown* spinner = Place(new TUpDown(g), spinnerNames[which][k],
                                     QRect(x + width, y, kSpinnerWidth, kFieldHeight));
            spinner->setIncrement(steps[k]);
            SetHint(spinner, hints[k]);
            TimeSpinner[which][k] = spinner;
            x += width + kSpinnerWidth;
            if (k < 3) {
                Place(new QLabel(k == 2 ? QStringLiteral(",") : QStringLiteral(":"), g),
                      separatorNames[which][k], QPoint(x + 1, y + 3));
                x += 6;
            }
        }
        QToolButton* film = Place(FlatButton(g), which ? "sbtnGetEnd" : "sbtnGetStart",
                                  QRect(x + 3, y, 22, kFieldHeight));
        film->setIcon(FilmIcon());
        film->setProperty("tag", which); // the selector: 0 start, 1 end
        film->setEnabled(false);
        SetHint(film, QStringLiteral("取得影片時間|將目前影片播放時間代入"));
        (which ? sbtnGetEnd : sbtnGetStart) = film;
    }
    meStartHour = TimeField[0][0], meStartMinute = TimeField[0][1];
    meStartSec = TimeField[0][2], meStartms = TimeField[0][3];
    meEndHour = TimeField[1][0], meEndMinute = TimeField[1][1];
    meEndSec = TimeField[1][2], meEndms = TimeField[1][3];
    upStartHour = TimeSpinner[0][0], upStartMinute = TimeSpinner[0][1];
    upStartSec = TimeSpinner[0][2], upStartms = TimeSpinner[0][3];
    upEndHour = TimeSpinner[1][0], upEndMinute = TimeSpinner[1][1];
    upEndSec = TimeSpinner[1][2], upEndms = TimeSpinner[1][3];

    moTitle = Place(new QPlainTextEdit(g), "moTitle", QRect(6, 117, 236, 50));
    moTitle->setLineWrapMode(QPlainTextEdit::NoWrap);
    moTitle->setTabChangesFocus(true);

    // Previous and next beside the text, which is what they walk.
    sbPrev = Place(FlatButton(g), "sbPrev", QRect(246, 117, 20, 24));
    sbPrev->setArrowType(Qt::UpArrow);
    SetHint(sbPrev, QStringLiteral("上一句|上一句字幕(Alt+左,Alt+上)"));
    sbNext = Place(FlatButton(g), "sbNext", QRect(246, 143, 20, 24));
    sbNext->setArrowType(Qt::DownArrow);
    SetHint(sbNext, QStringLiteral("下一句|下一句字幕(Alt+右,Alt+下)"));

    // The end follows the start while the duration is kept.
    for (QWidget* w : {static_cast<QWidget*>(meDelay), static_cast<QWidget*>(upDelay)})
        w->setEnabled(false);
    for (int k = 0; k < 4; ++k) {
        TimeField[1][k]->setEnabled(false);
        TimeSpinner[1][k]->setEnabled(false);
    }

    cbFit = Place(new QCheckBox(QStringLiteral("自動套用"), this), "cbFit", QRect(8, 183, 76, 17));
    cbFit->setChecked(true);
    bbtnUndo = Place(Button(QStringLiteral("回復"), QStyle::SP_BrowserReload, this), "bbtnUndo",
                     QRect(84, 178, 54, 25));
    bbtnFit = Place(Button(QStringLiteral("套用"), QStyle::SP_DialogApplyButton, this), "bbtnFit",
                    QRect(140, 178, 54, 25));
    SetHint(bbtnFit, QStringLiteral("套用字幕|套用目前修改字幕時間文字"));
    bbtnClose = Place(Button(QStringLiteral("關閉"), QStyle::SP_DialogCloseButton, this),
                      "bbtnClose", QRect(196, 178, 54, 25));
    SetHint(bbtnClose, QStringLiteral("關閉視窗|關閉編輯視窗"));
    sbWindow = Place(FlatButton(this), "sbWindow", QRect(254, 180, 20, 21));
    for (QWidget* w : {static_cast<QWidget*>(cbFit), static_cast<QWidget*>(bbtnUndo),
                       static_cast<QWidget*>(bbtnFit), static_cast<QWidget*>(bbtnClose),
                       static_cast<QWidget*>(sbWindow)})
        w->setProperty("designY", w->y());
    sbWindow->setCheckable(true);
    sbWindow->setArrowType(Qt::DownArrow);
    SetHint(sbWindow, QStringLiteral("設定視窗|設定編輯視窗選項"));
}

void TEditForm::BuildSettings() {
    GroupBox1 =
        Place(new QGroupBox(QStringLiteral("視窗設定"), this), "GroupBox1", QRect(4, 209, 272, 46));
    QWidget* g = GroupBox1;
    cbBlend =
        Place(new QCheckBox(QStringLiteral("半透明視窗"), g), "cbBlend", QRect(6, 20, 90, 17));
    lbBlendLabel = Place(new QLabel(QStringLiteral("透明值"), g), "lbBlendLabel", QPoint(104, 22));
    lbBlend = Place(new QLineEdit(g), "lbBlend", QRect(146, 18, 34, kFieldHeight));
    lbBlend->setValidator(new QIntValidator(1, 255, lbBlend));
    lbBlendLabel->setBuddy(lbBlend);
    upBlend = Place(new TUpDown(g), "upBlend", QRect(180, 18, kSpinnerWidth, kFieldHeight));
    upBlend->setHoldsPosition(true);
    upBlend->setRange(1, 255);
    upBlend->setIncrement(5);
    upBlend->setWrap(false);
    upBlend->setAssociate(lbBlend);
    upBlend->setPosition(230);
    // The translucency value matters only while the window is translucent.
    lbBlend->setEnabled(false);
    upBlend->setEnabled(false);
    sbColor = Place(FlatButton(g), "sbColor", QRect(214, 16, 26, 24));
    SetBackground(Background());
    // Shown while sbWindow is pressed.
    GroupBox1->hide();
}

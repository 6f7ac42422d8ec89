#include "Combine.h"
#include "DialogGroups.h"
#include "Hint.h"

#include "EditorHost.h"
#include "Merging.h"
#include "Questions.h"
#include "Tags.h"
#include "Texts.h"
#include "TimeParts.h"

#include <QCheckBox>
#include <QEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QToolButton>

#include <algorithm>

const QString TCombineForm::OpenFilter = QString::fromStdString(::OpenFilter());

TCombineForm::TCombineForm(TEditorHost* host, QWidget* parent)
    : TDialogBase(parent, "CombineForm", QStringLiteral("合併字幕"), QSize(348, 316),
                  TDialogFrame::Fixed, TFormSlot::Combine),
      host_(host) {
    // 1. The source.
    GroupBox1 = Place(new QGroupBox(QStringLiteral("1. 字幕來源"), this), "GroupBox1",
                      QRect(6, 4, 336, 70));
    BuildSourceGroup(GroupBox1, rbtnOpposite, rbtnSubFile, etSubFile, sbtnSubFile, "sbtnSubFile");
    etSubFile->installEventFilter(this);
    for (QRadioButton* source : {rbtnOpposite, rbtnSubFile})
        connect(source, &QRadioButton::clicked, this, &TCombineForm::RangeRefresh);
    connect(sbtnSubFile, &QToolButton::clicked, this, &TCombineForm::sbtnSubFileClick);

    // 2. The range of the source.
    GroupBox2 = Place(new QGroupBox(QStringLiteral("2. 選擇範圍"), this), "GroupBox2",
                      QRect(6, 78, 336, 72));
    BuildRangeGroup(GroupBox2, Range());

    // 3. Where the copies go.
    GroupBox3 = Place(new QGroupBox(QStringLiteral("3. 插入位置"), this), "GroupBox3",
                      QRect(6, 154, 336, 72));
    rbtnInsertFront = Place(new QRadioButton(QStringLiteral("字幕前方"), GroupBox3),
                            "rbtnInsertFront", QRect(10, 20, 90, 17));
    rbtnInsertRear = Place(new QRadioButton(QStringLiteral("字幕後方"), GroupBox3),
                           "rbtnInsertRear", QRect(110, 20, 90, 17));
    rbtnInsertPos = Place(new QRadioButton(QStringLiteral("指定位置"), GroupBox3), "rbtnInsertPos",
                          QRect(210, 20, 90, 17));
    rbtnInsertFront->setChecked(true);
    upInsertPos =
        NumberBox(GroupBox3, leInsertPosLabel, "leInsertPosLabel", QStringLiteral("字幕編號"),
                  QPoint(10, 46), "upInsertPos", "leInsertPos", QRect(64, 42, 90, 21), leInsertPos);
    for (QWidget* w : {static_cast<QWidget*>(rbtnInsertFront),
                       static_cast<QWidget*>(rbtnInsertRear), static_cast<QWidget*>(rbtnInsertPos),
                       static_cast<QWidget*>(leInsertPos), static_cast<QWidget*>(upInsertPos)})
        SetHint(w, QStringLiteral("指定插入位置|併入之字幕將插入此編號之前"));
    for (QRadioButton* r :
         {rbtnSelectAll, rbtnSelectRange, rbtnInsertFront, rbtnInsertRear, rbtnInsertPos})
        connect(r, &QRadioButton::toggled, this, &TCombineForm::UpdateEnabled);

    // 4. The times.
    GroupBox4 = Place(new QGroupBox(QStringLiteral("4. 時間調整"), this), "GroupBox4",
                      QRect(6, 230, 336, 46));
    cbAutoAdjust =
        Place(new QCheckBox(QStringLiteral("自動調整字幕時間  (若未勾選,則保持各自原來字幕時間)"),
                            GroupBox4),
              "cbAutoAdjust", QRect(10, 20, 320, 17));
    cbAutoAdjust->setChecked(true);

    bbtnOk = Place(NewOkButton(), "bbtnOk", QRect(184, 284, 75, 25));
    SetHint(bbtnOk, QStringLiteral("合併字幕|合併選擇之字幕"));
    connect(bbtnOk, &QPushButton::clicked, this, &TCombineForm::bbtnOkClick);
    bbtnCancel = Place(NewCancelButton(), "bbtnCancel", QRect(267, 284, 75, 25));
    SetHint(bbtnCancel, QStringLiteral("取消|取消合併字幕"));

    UpdateEnabled();
    ApplyLanguage();
}

TRangeGroup TCombineForm::Range() {
    return {rbtnSelectAll, rbtnSelectRange, leStartNoLabel, upStartNo,
            leStartNo,     leEndNoLabel,    upEndNo,        leEndNo};
}

void TCombineForm::SetTarget(int side, const SubTitle* target, const SubTitle* opposite) {
    Side = side;
    Document = target;
    rbtnOpposite->setText(TextOf(txRightSide - side));
    const int count = target ? target->Count() : 0;
    // The box reaches every entry; the position it had stays when the target still holds it.
    SetNumberRange(upInsertPos, count, upInsertPos->value());
    Opposite = opposite;
    rbtnOpposite->setEnabled(opposite != nullptr);
    (opposite ? rbtnOpposite : rbtnSubFile)->setChecked(true);
    RangeRefresh();
}

void TCombineForm::RangeRefresh() {
    const int n = rbtnOpposite->isChecked() ? (Opposite ? Opposite->Count() : 0) : FileCount;
    SetNumberRange(upStartNo, n, 1);
    SetNumberRange(upEndNo, n, std::max(n, 1));
    UpdateEnabled();
}

void TCombineForm::UpdateEnabled() {
    EnableRangeNumbers(Range(), rbtnSelectRange->isChecked());
    leInsertPosLabel->setEnabled(rbtnInsertPos->isChecked());
    upInsertPos->setEnabled(rbtnInsertPos->isChecked());
}

bool TCombineForm::eventFilter(QObject* watched, QEvent* event) {
    if (watched == etSubFile && event->type() == QEvent::MouseButtonPress) RangeRefresh();
    return TDialogBase::eventFilter(watched, event);
}

void TCombineForm::sbtnSubFileClick() {
    const QString path =
        ChooseFileToOpen(this, QString(), OpenFilter, QStringLiteral("srt"),
                         Document ? QString::fromStdString(Document->FileName()) : QString());
    if (path.isEmpty()) return;
    const std::unique_ptr<SubTitle> file = ReadSourceFile(this, path, Reading);
    if (!file) return;
    FileCount = file->Count();
    rbtnSubFile->setChecked(true);
    etSubFile->setText(path);
    RangeRefresh();
}

void TCombineForm::bbtnOkClick() {
    const SubTitle* source = nullptr;
    std::unique_ptr<SubTitle> file;
    if (rbtnOpposite->isChecked() && Opposite) {
        source = Opposite;
    } else {
        const QString path = etSubFile->text().trimmed();
        if (path.isEmpty()) {
            Questions().ShowError(this, TextOf(txNoCombineFile));
            return;
        }
        // Read again: the file may have changed since it was chosen.
        file = ReadSourceFile(this, path, Reading);
        if (!file) return;
        source = file.get();
    }
    if (!Document || !host_) {
        accept();
        return;
    }
    const int count = source->Count();
    const bool all = rbtnSelectAll->isChecked();
    const int first = all ? 0 : upStartNo->value() - 1;
    const int last = all ? count - 1 : std::min(upEndNo->value(), count) - 1;
    const int n = Document->Count();
    const int position = rbtnInsertFront->isChecked()  ? 0
                         : rbtnInsertRear->isChecked() ? n
                                                       : std::min(upInsertPos->value() - 1, n);
    try {
        host_->ApplyChange(
            Side, TextOf(txStepCombine),
            CombineChange(*Document, *source, first, last, position, cbAutoAdjust->isChecked()));
    } catch (const TextConversionError& error) {
        ShowConversionError(this, error);
        return;
    } catch (const SubtitleError& error) {
        Questions().ShowError(this, QString::fromUtf8(error.what()));
        return;
    }
    accept();
}

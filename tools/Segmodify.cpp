#include "Segmodify.h"
#include "Hint.h"

#include "Editing.h"
#include "EditorHost.h"
#include "Kellabel.h"
#include "Questions.h"
#include "Subtitle.h"
#include "Texts.h"
#include "TimeParts.h"

#include <QCheckBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStyle>

#include <algorithm>

namespace {

// The blue label of a group that shows its entry's start and end.
TKelLabel* EntryLabel(QWidget* parent) {
    auto* label = new TKelLabel(parent);
    label->setTextStyle(tsNone);
    label->setFontColor(QColor(0x00, 0x00, 0xFF));
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPixelSize(16);
    label->setFont(font);
    return label;
}

} // namespace

TSegForm::TSegForm(TEditorHost* host, QWidget* parent)
    : TDialogBase(parent, "SegForm", QStringLiteral("區段調整"), QSize(268, 308),
                  TDialogFrame::Fixed, TFormSlot::Segment),
      host_(host) {
    cbKeepStep = Place(new QCheckBox(QStringLiteral("保持字幕間隔時間"), this), "cbKeepStep",
                       QRect(10, 8, 200, 17));
    QFont bold = cbKeepStep->font();
    bold.setBold(true);
    cbKeepStep->setFont(bold);
    cbKeepStep->setChecked(true);

    // The two groups differ only in names and texts.
    struct TGroup {
        QGroupBox*& Box;
        const char* BoxName;
        const char* Title;
        QLabel*& NumberLabel;
        const char* NumberLabelName;
        TNumberSpin*& Number;
        const char* NumberName;
        const char* EditName;
        QLineEdit*& Edit;
        TKelLabel*& Entry;
        const char* EntryName;
        QLabel*& StartLabel;
        const char* StartLabelName;
        QLabel*& AdjustLabel;
        const char* AdjustLabelName;
        TTimeParts*& Times;
        const char* Prefix;
        int Top;
    };
    TGroup groups[2] = {
        {GroupBox1, "GroupBox1", "區段開始編號", leStartNoLabel, "leStartNoLabel", upStartNo,
         "upStartNo", "leStartNo", leStartNo, lbStart, "lbStart", Label1, "Label1", Label2,
         "Label2", StartTime, "Start", 30},
        {GroupBox2, "GroupBox2", "區段結束編號", LabeledEdit1Label, "LabeledEdit1Label", upEndNo,
         "upEndNo", "LabeledEdit1", LabeledEdit1, lbEnd, "lbEnd", Label3, "Label3", Label4,
         "Label4", EndTime, "End", 140},
    };
    for (int selector = 0; selector < 2; ++selector) {
        TGroup& g = groups[selector];
        g.Box = Place(new QGroupBox(QString::fromUtf8(g.Title), this), g.BoxName,
                      QRect(6, g.Top, 256, 104));
        g.NumberLabel =
            Place(new QLabel(QStringLiteral("字幕編號"), g.Box), g.NumberLabelName, QPoint(10, 22));
        g.Number = Place(new TNumberSpin(g.EditName, g.Box), g.NumberName, QRect(64, 18, 80, 21));
        g.Number->setRange(1, 1);
        g.Number->setProperty("tag", selector);
        g.Edit = g.Number->findChild<QLineEdit*>(QString::fromLatin1(g.EditName));
        g.Edit->setText(QStringLiteral("1"));
        g.NumberLabel->setBuddy(g.Number);
        g.Entry = Place(EntryLabel(g.Box), g.EntryName, QPoint(10, 44));
        g.StartLabel =
            Place(new QLabel(QStringLiteral("開始時間"), g.Box), g.StartLabelName, QPoint(10, 68));
        g.AdjustLabel =
            Place(new QLabel(QStringLiteral("調整為"), g.Box), g.AdjustLabelName, QPoint(10, 82));
        g.Times = new TTimeParts(g.Box, QString::fromLatin1(g.Prefix), QPoint(72, 72));

        // A number taken (arrow, Enter, leaving the box) shows its entry, then the last group
        // follows the first.
        auto showNumber = [this, selector] {
            ShowEntry(selector);
            Follow();
        };
        connect(g.Number, &QSpinBox::valueChanged, this, showNumber);
        connect(g.Number, &QAbstractSpinBox::editingFinished, this, showNumber);
        connect(g.Times, &TTimeParts::stepped, this,
                [this, selector](int delta) { Step(selector, delta); });
    }
    connect(StartTime, &TTimeParts::left, this, &TSegForm::Follow);
    meStartHour = StartTime->Fields[0];
    meStartMinute = StartTime->Fields[1];
    meStartSec = StartTime->Fields[2];
    meStartms = StartTime->Fields[3];
    upStartHour = StartTime->Spinners[0];
    upStartMinute = StartTime->Spinners[1];
    upStartSec = StartTime->Spinners[2];
    upStartms = StartTime->Spinners[3];
    meEndHour = EndTime->Fields[0];
    meEndMinute = EndTime->Fields[1];
    meEndSec = EndTime->Fields[2];
    meEndms = EndTime->Fields[3];
    upEndHour = EndTime->Spinners[0];
    upEndMinute = EndTime->Spinners[1];
    upEndSec = EndTime->Spinners[2];
    upEndms = EndTime->Spinners[3];
    StartTime->ShowTime(0);
    EndTime->ShowTime(0);
    connect(cbKeepStep, &QCheckBox::clicked, this, &TSegForm::cbKeepStepClick);

    plNote = Place(new QFrame(this), "plNote", QRect(6, 250, 256, 22));
    plNote->setFrameStyle(QFrame::Box | QFrame::Plain);
    lbNote = Place(new TKelLabel(QStringLiteral("注意:在區段結束編號後的字幕將不受影響"), plNote),
                   "lbNote", QPoint(4, 4));
    lbNote->setTextStyle(tsNone);
    lbNote->setFontColor(QColor(0xFF, 0x00, 0x00));

    bbtnOk = Place(NewOkButton(), "bbtnOk", QRect(104, 278, 75, 25));
    SetHint(bbtnOk, QStringLiteral("套用字幕|套用目前修改字幕時間文字"));
    connect(bbtnOk, &QPushButton::clicked, this, &TSegForm::bbtnOkClick);
    bbtnCancel = Place(NewCancelButton(), "bbtnCancel", QRect(187, 278, 75, 25));
    SetHint(bbtnCancel, QStringLiteral("關閉視窗|關閉編輯視窗"));

    EndTime->SetEnabled(!cbKeepStep->isChecked());
    ApplyLanguage();
}

void TSegForm::SetTarget(int side, const SubTitle* document, int topRow, int bottomRow) {
    Side = side;
    Document = document;
    gappedSelection_.clear();
    if (host_ && document) {
        std::vector<int> selected = host_->SelectedEntries(side);
        std::sort(selected.begin(), selected.end());
        selected.erase(std::unique(selected.begin(), selected.end()), selected.end());
        if (selected.size() > 1 && selected.back() - selected.front() + 1 != int(selected.size()))
            gappedSelection_ = std::move(selected);
    }
    const int count = document ? document->Count() : 0;
    {
        const QSignalBlocker blockStart(upStartNo);
        const QSignalBlocker blockEnd(upEndNo);
        // Spinners reach every entry; a document without entries still keeps them at 1.
        upStartNo->setRange(1, std::max(count, 1));
        upEndNo->setRange(1, std::max(count, 1));
        upStartNo->setValue(topRow);
        upEndNo->setValue(topRow == bottomRow ? count : bottomRow);
    }
    FormShow();
}

void TSegForm::FormShow() {
    ShowEntry(0);
    ShowEntry(1);
    cbKeepStepClick();
}

bool TSegForm::StartOf(int n, int32_t& start) const {
    const PerTitle* entry = Document ? Document->Item(n - 1) : nullptr;
    if (!entry) return false;
    start = entry->Start;
    return true;
}

void TSegForm::ShowEntry(int selector) {
    const TNumberSpin* number = selector ? upEndNo : upStartNo;
    TKelLabel* label = selector ? lbEnd : lbStart;
    const PerTitle* entry = Document ? Document->Item(number->value() - 1) : nullptr;
    if (!entry) {
        label->setCaption(QString());
        return;
    }
    label->setCaption(QString::fromStdString(entry->StartText() + " -> " + entry->EndText()));
    ShowTime(selector, entry->Start);
}

void TSegForm::ShowTime(int selector, int32_t ms) {
    (selector ? EndTime : StartTime)->ShowTime(ms);
}

int32_t TSegForm::ReadTime(int selector) const {
    return (selector ? EndTime : StartTime)->ReadTime();
}

void TSegForm::Follow() {
    if (!cbKeepStep->isChecked()) return;
    int32_t first = 0, last = 0;
    if (!StartOf(upStartNo->value(), first) || !StartOf(upEndNo->value(), last)) return;
    ShowTime(1, SaturateMs(int64_t{ReadTime(0)} - first + last));
}

void TSegForm::Step(int selector, int delta) {
    if (!Document) return;
    ShowTime(selector, AddMs(ReadTime(selector), delta));
    if (selector == 0) Follow();
}

void TSegForm::cbKeepStepClick() {
    const bool keep = cbKeepStep->isChecked();
    EndTime->SetEnabled(!keep);
    if (keep) ShowEntry(1);
}

void TSegForm::bbtnOkClick() {
    if (StartTime->RefuseIfIncomplete() || EndTime->RefuseIfIncomplete()) return;
    if (!Document || !host_) {
        accept();
        return;
    }
    const int first = upStartNo->value() - 1;
    const int last = upEndNo->value() - 1;
    const int32_t s = ReadTime(0);
    TChange change;
    int32_t firstStart = 0, lastStart = 0;
    // An empty stretch, or one the document does not hold, changes nothing.
    if (first <= last && StartOf(first + 1, firstStart) && StartOf(last + 1, lastStart)) {
        if (cbKeepStep->isChecked()) {
            change = ShiftChange(*Document, first, last, SaturateMs(int64_t{s} - firstStart));
        } else {
            const int32_t e = ReadTime(1);
            if (firstStart == lastStart) {
                // No factor spreads two entries that start together: nothing is changed and the
                // user can pick other entries or keep the steps.
                Questions().ShowError(this,
                                      TextOf(s == e ? txInvalidFloatOperation : txDivisionByZero));
                return;
            }
            change = RescaleChange(*Document, first, last, e, s);
        }
        // Rows 2 and 5 chosen with Ctrl: rows 3 and 4 were left out on purpose.
        if (!gappedSelection_.empty())
            change = RetimeOnlyChange(*Document, change, gappedSelection_);
    }
    try {
        host_->ApplyChange(Side, TextOf(txStepSegment), std::move(change));
    } catch (const SubtitleError& error) {
        Questions().ShowError(this, QString::fromUtf8(error.what()));
        return;
    }
    accept();
}

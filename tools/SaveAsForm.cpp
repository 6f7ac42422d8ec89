#include "SaveAsForm.h"
#include "DialogGroups.h"
#include "Hint.h"

#include "CodePage.h"
#include "EditorHost.h"
#include "Questions.h"
#include "SaveAs.h"
#include "Subtitle.h"
#include "Texts.h"
#include "TimeParts.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QStyle>
#include <QToolButton>

#include <algorithm>
#include <cmath>

const QString TSaveAsForm::SaveFilter =
    QStringLiteral("SubRip (*.srt)|*.srt|MicroDVD(*.sub)|*.sub|Subviewer(*.sub)|*.sub|"
                   "WebVTT (*.vtt)|*.vtt|ASS (*.ass)|*.ass|SSA (*.ssa)|*.ssa|All Files(*.*)|*.*");

TSaveAsForm::TSaveAsForm(TEditorHost* host, QWidget* parent)
    : TDialogBase(parent, "SaveAsForm", QStringLiteral("另存新檔"), QSize(348, 362),
                  TDialogFrame::Fixed, TFormSlot::SaveAs),
      host_(host) {
    // 1. The format and the file.
    GroupBox1 = Place(new QGroupBox(QStringLiteral("1. 字幕格式"), this), "GroupBox1",
                      QRect(6, 4, 336, 90));
    lbFormat =
        Place(new QLabel(QStringLiteral("檔案格式:"), GroupBox1), "lbFormat", QPoint(10, 22));
    rbtnSubRip = Place(new QRadioButton(QStringLiteral("SubRip"), GroupBox1), "rbtnSubRip",
                       QRect(74, 20, 70, 17));
    rbtnMicroDVD = Place(new QRadioButton(QStringLiteral("MicroDVD"), GroupBox1), "rbtnMicroDVD",
                         QRect(150, 20, 84, 17));
    rbtnSubviewer = Place(new QRadioButton(QStringLiteral("Subviewer"), GroupBox1), "rbtnSubviewer",
                          QRect(236, 20, 90, 17));
    rbtnWebVTT = Place(new QRadioButton(QStringLiteral("WebVTT"), GroupBox1), "rbtnWebVTT",
                       QRect(74, 40, 76, 17));
    rbtnASS = Place(new QRadioButton(QStringLiteral("ASS"), GroupBox1), "rbtnASS",
                    QRect(150, 40, 80, 17));
    rbtnSSA = Place(new QRadioButton(QStringLiteral("SSA"), GroupBox1), "rbtnSSA",
                    QRect(236, 40, 90, 17));
    rbtnSubRip->setChecked(true);
    leSubFileLabel = Place(new QLabel(QStringLiteral("檔案名稱: "), GroupBox1), "leSubFileLabel",
                           QPoint(10, 66));
    // Typed or chosen: the path is used as it stands.
    leSubFile = Place(new QLineEdit(GroupBox1), "leSubFile", QRect(74, 62, 226, 22));
    leSubFileLabel->setBuddy(leSubFile);
    sbtnSaveFile = Place(new QToolButton(GroupBox1), "sbtnSaveFile", QRect(304, 60, 24, 24));
    sbtnSaveFile->setIcon(QIcon::fromTheme(QStringLiteral("document-save-as"),
                                           style()->standardIcon(QStyle::SP_DialogSaveButton)));
    sbtnSaveFile->setAutoRaise(true);
    for (QRadioButton* format :
         {rbtnSubRip, rbtnMicroDVD, rbtnSubviewer, rbtnWebVTT, rbtnASS, rbtnSSA})
        connect(format, &QRadioButton::clicked, this, &TSaveAsForm::FormatRule);
    connect(sbtnSaveFile, &QToolButton::clicked, this, &TSaveAsForm::sbtnSaveFileClick);

    // 2. The range.
    GroupBox2 = Place(new QGroupBox(QStringLiteral("2. 選擇範圍"), this), "GroupBox2",
                      QRect(6, 98, 336, 72));
    BuildRangeGroup(GroupBox2, Range());
    for (QRadioButton* range : {rbtnSelectAll, rbtnSelectRange})
        connect(range, &QRadioButton::toggled, this, &TSaveAsForm::UpdateEnabled);
    // The new start goes with the first entry of the range.
    connect(upStartNo, &QSpinBox::valueChanged, this, &TSaveAsForm::ShowStartOfFirst);
    connect(upStartNo, &QAbstractSpinBox::editingFinished, this, &TSaveAsForm::ShowStartOfFirst);

    // 3. The options.
    GroupBox3 = Place(new QGroupBox(QStringLiteral("3. 選項設定"), this), "GroupBox3",
                      QRect(6, 174, 336, 150));
    cbReNo = Place(new QCheckBox(QStringLiteral("重設編號"), GroupBox3), "cbReNo",
                   QRect(10, 20, 120, 17));
    upSaveNo = NumberBox(GroupBox3, leSaveNoLabel, "leSaveNoLabel", QStringLiteral("新編號"),
                         QPoint(172, 22), "upSaveNo", "leSaveNo", QRect(226, 18, 90, 21), leSaveNo);
    upSaveNo->setRange(1, 10000);
    for (QWidget* w : {static_cast<QWidget*>(leSaveNo), static_cast<QWidget*>(upSaveNo)})
        SetHint(w, QStringLiteral("指定插入位置|併入之字幕將插入此編號之前"));
    cbReTime = Place(new QCheckBox(QStringLiteral("重設時間"), GroupBox3), "cbReTime",
                     QRect(10, 46, 120, 17));
    cbReTime->setChecked(true);
    StartTime = new TTimeParts(GroupBox3, QStringLiteral("Start"), QPoint(150, 44));
    connect(StartTime, &TTimeParts::stepped, this, &TSaveAsForm::Step);
    meStartHour = StartTime->Fields[0];
    meStartMinute = StartTime->Fields[1];
    meStartSec = StartTime->Fields[2];
    meStartms = StartTime->Fields[3];
    upStartHour = StartTime->Spinners[0];
    upStartMinute = StartTime->Spinners[1];
    upStartSec = StartTime->Spinners[2];
    upStartms = StartTime->Spinners[3];
    StartTime->ShowTime(0);
    cbDelEmpty = Place(new QCheckBox(QStringLiteral("刪除空白字幕行"), GroupBox3), "cbDelEmpty",
                       QRect(10, 72, 156, 17));
    // The document's own line ends unless another is chosen.
    lbLineEnd =
        Place(new QLabel(TextOf(txSaveLineEnd), GroupBox3), "lbLineEnd", QPoint(172, 74));
    cbLineEnd = Place(new QComboBox(GroupBox3), "cbLineEnd", QRect(226, 70, 100, 21));
    cbLineEnd->addItems({TextOf(txLineEndAsDocument), TextOf(txLineEndLf), TextOf(txLineEndCrLf)});
    lbLineEnd->setBuddy(cbLineEnd);
    cbPad = Place(new QCheckBox(QStringLiteral("自動加入空白,使字幕居中對齊"), GroupBox3), "cbPad",
                  QRect(10, 96, 300, 17));
    lbFrame =
        Place(new QLabel(QStringLiteral("每秒Frame數:"), GroupBox3), "lbFrame", QPoint(10, 124));
    cbFrame = Place(new QComboBox(GroupBox3), "cbFrame", QRect(100, 120, 90, 21));
    cbFrame->setEditable(true);
    // A typed rate is used, not added to the list.
    cbFrame->setInsertPolicy(QComboBox::NoInsert);
    cbFrame->addItems({QStringLiteral("23.976"), QStringLiteral("24.000"), QStringLiteral("25.000"),
                       QStringLiteral("29.970"), QStringLiteral("30.000")});
    lbFrame->setBuddy(cbFrame);
    lbEncoding =
        Place(new QLabel(TextOf(txSaveEncoding), GroupBox3), "lbEncoding", QPoint(200, 124));
    cbEncoding = Place(new QComboBox(GroupBox3), "cbEncoding", QRect(232, 120, 94, 21));
    cbEncoding->addItem(TextOf(txEncodingAsDocument));
    for (const OutputEncoding& e : OutputEncodings())
        cbEncoding->addItem(QString::fromStdString(EncodingName(e.codePage, e.encoding)));
    lbEncoding->setBuddy(cbEncoding);
    for (QCheckBox* box : {cbReNo, cbReTime})
        connect(box, &QCheckBox::toggled, this, &TSaveAsForm::UpdateEnabled);

    bbtnOk = Place(NewOkButton(), "bbtnOk", QRect(184, 332, 75, 25));
    SetHint(bbtnOk, QStringLiteral("另存字幕|另存一個不同名稱或格式的字幕"));
    connect(bbtnOk, &QPushButton::clicked, this, &TSaveAsForm::bbtnOkClick);
    bbtnCancel = Place(NewCancelButton(), "bbtnCancel", QRect(267, 332, 75, 25));
    SetHint(bbtnCancel, QStringLiteral("取消|取消另存新檔"));

    FormatRule();
    ApplyLanguage();
}

TRangeGroup TSaveAsForm::Range() {
    return {rbtnSelectAll, rbtnSelectRange, leStartNoLabel, upStartNo,
            leStartNo,     leEndNoLabel,    upEndNo,        leEndNo};
}

void TSaveAsForm::SetTarget(const SubTitle* document) {
    Document = document;
    const int count = document ? document->Count() : 0;
    {
        const QSignalBlocker blockStart(upStartNo);
        const QSignalBlocker blockEnd(upEndNo);
        // The boxes reach every entry; without entries they rest at 1 and the range is empty.
        upStartNo->setRange(1, std::max(count, 1));
        upStartNo->setValue(1);
        upEndNo->setRange(1, std::max(count, 1));
        upEndNo->setValue(std::max(count, 1));
    }
    ShowStartOfFirst();
    cbFrame->setEditText(QString::asprintf("%02.3f", document ? document->FrameRate() : 25.0));
    AssStyle = TAssStyle();
    for (int side = 0; side < 2 && document && host_; ++side)
        if (host_->Document(side) == document) AssStyle = host_->NewAssStyle(side);
    FormatRule();
}

QRadioButton* TSaveAsForm::FormatButton(int32_t format) const {
    switch (format) {
    case FormatMicroDVD:
        return rbtnMicroDVD;
    case FormatSubViewer:
        return rbtnSubviewer;
    case FormatWebVTT:
        return rbtnWebVTT;
    case FormatASS:
        return rbtnASS;
    case FormatSSA:
        return rbtnSSA;
    default:
        return rbtnSubRip;
    }
}

int32_t TSaveAsForm::Format() const {
    for (int32_t format = FormatMicroDVD; format <= FormatSSA; ++format)
        if (FormatButton(format)->isChecked()) return format;
    return FormatSubRip;
}

void TSaveAsForm::FormatRule() {
    const int32_t format = Format();
    cbReNo->setEnabled(format == FormatSubRip);
    cbReNo->setChecked(format == FormatSubRip);
    cbFrame->setEnabled(format == FormatMicroDVD);
    lbFrame->setEnabled(format == FormatMicroDVD);
    cbPad->setEnabled(format == FormatSubViewer);
    cbPad->setChecked(format == FormatSubViewer);
    UpdateEnabled();
}

void TSaveAsForm::UpdateEnabled() {
    EnableRangeNumbers(Range(), rbtnSelectRange->isChecked());
    leSaveNoLabel->setEnabled(cbReNo->isChecked());
    upSaveNo->setEnabled(cbReNo->isChecked());
    StartTime->SetEnabled(cbReTime->isChecked());
}

void TSaveAsForm::sbtnSaveFileClick() {
    // Filter entries counted from 0 are the formats in their order, then all files.
    const int32_t format = Format();
    // The name given so far, else the document's folder or the last folder used.
    const QString start = !leSubFile->text().trimmed().isEmpty()
                              ? leSubFile->text()
                              : ChooserFolder(Document ? QString::fromStdString(Document->FileName())
                                                       : QString());
    const std::optional<TSaveChoice> choice =
        Questions().SaveFileChoice(this, QString(), SaveFilter, format, start);
    if (!choice) return;
    RememberChooserFolder(choice->Path);
    // All files (or none known): the format stays.
    if (choice->FilterIndex >= FormatSubRip && choice->FilterIndex <= FormatSSA)
        FormatButton(choice->FilterIndex)->setChecked(true);
    leSubFile->setText(choice->Path);
    FormatRule();
}

void TSaveAsForm::ShowStartOfFirst() {
    const PerTitle* entry = Document ? Document->Item(upStartNo->value() - 1) : nullptr;
    if (entry) StartTime->ShowTime(entry->Start);
}

void TSaveAsForm::Step(int delta) {
    if (!Document) return;
    StartTime->ShowTime(AddMs(StartTime->ReadTime(), delta));
}

SaveAsOptions TSaveAsForm::Options(double frameRate) const {
    SaveAsOptions o;
    o.format = Format();
    const int count = Document ? Document->Count() : 0;
    if (rbtnSelectAll->isChecked()) {
        o.first = 0;
        o.last = count - 1;
    } else {
        o.first = upStartNo->value() - 1;
        // Without entries the box rests at 1: the range is then empty.
        o.last = std::min(upEndNo->value(), count) - 1;
    }
    if (cbReTime->isChecked() && Document && Document->Item(o.first))
        o.newStart = StartTime->ReadTime();
    if (cbReNo->isChecked()) o.renumberFrom = upSaveNo->value();
    o.skipBlank = cbDelEmpty->isChecked();
    o.centre = cbPad->isChecked();
    o.frameRate = frameRate;
    o.assStyle = AssStyle;
    if (const int chosen = cbEncoding->currentIndex(); chosen > 0)
        o.encoding = OutputEncodings()[size_t(chosen - 1)];
    if (cbLineEnd->currentIndex() > 0)
        o.lineEnd = cbLineEnd->currentIndex() == 1 ? LineEnd::Lf : LineEnd::CrLf;
    return o;
}

void TSaveAsForm::bbtnOkClick() {
    if (cbReTime->isChecked() && StartTime->RefuseIfIncomplete()) return;
    const QString path = leSubFile->text();
    if (path.trimmed().isEmpty()) {
        Questions().ShowError(this, TextOf(txNeedFileName));
        leSubFile->setFocus();
        return;
    }
    if (QFileInfo::exists(path) &&
        Questions().MessageBox(this, TextOf(txFileExists), TextOf(txAppName),
                               TMsgKind::Confirmation, {mrOk, mrCancel}, mrCancel) != mrOk)
        return;
    double frameRate = Document ? Document->FrameRate() : 25.0;
    if (Format() == FormatMicroDVD) {
        try {
            frameRate = ParseFrameRate(cbFrame->currentText().toStdString());
        } catch (const SubtitleError&) {
            // A number that is no rate (0, below 0) is told as such; anything else is no number.
            bool number = false;
            const double typed = cbFrame->currentText().trimmed().toDouble(&number);
            Questions().ShowError(this, number && std::isfinite(typed)
                                            ? TextOf(txFrameRateAboveZero)
                                            : TextOf(txNotAFloat).arg(cbFrame->currentText()));
            return;
        }
    }
    if (!Document) return;
    // A file about to be replaced is kept among the backups first; without that, it stays.
    QString backupWhy;
    if (QFileInfo(path).isFile() && host_ && !host_->KeepBackup(path, &backupWhy)) {
        Questions().ShowError(this, TextOf(txBackupFailed) + QLatin1Char('\n') + backupWhy);
        return;
    }
    const SaveAsResult result = SaveAs(*Document, path.toStdString(), Options(frameRate));
    if (!result.ok && result.unreadableEntry) {
        Questions().ShowError(
            this, TextOf(txEntryNotValid)
                      .arg(*result.unreadableEntry + 1)
                      .arg(QString::fromUtf8(CodePageName(Document->CodePage()))));
        return;
    }
    if (!result.ok && result.unheldEntry) {
        Questions().ShowError(
            this,
            TextOf(txCannotSaveEntry).arg(*result.unheldEntry + 1).arg(cbEncoding->currentText()));
        return;
    }
    if (!result.ok) {
        // Nothing was written: an existing file is as it was, and the user may try again.
        Questions().ShowError(this, TextOf(txCannotWrite) + QLatin1Char('\n') + path +
                                        QLatin1Char('\n') + QString::fromStdString(result.why));
        return;
    }
    if (result.droppedTags > 0)
        Questions().MessageBox(this, TextOf(txTagsDropped).arg(result.droppedTags), TextOf(txAppName),
                               TMsgKind::Information, {mrOk}, mrOk);
    accept();
}

#include "Import.h"
#include "DialogGroups.h"
#include "Hint.h"

#include "EditorHost.h"
#include "Merging.h"
#include "Questions.h"
#include "Texts.h"
#include "TimeParts.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QToolButton>

#include <algorithm>

const QString TImportForm::OpenFilter = QStringLiteral(
    "SubRip (*.srt)|*.srt|MicroDVD,Subviewer(*.sub)|*.sub|WebVTT (*.vtt)|*.vtt|ASS,SSA "
    "(*.ass;*.ssa)|*.ass;*.ssa|Text File(*.txt)|*.txt|CSV File(*.csv)|*.csv|All Files(*.*)|*.*");

namespace {

TImportKind KindOf(const QString& path) {
    return path.isEmpty() ? TImportKind::Other : ImportKindOf(path.toStdString());
}

} // namespace

TImportForm::TImportForm(TEditorHost* host, QWidget* parent)
    : TDialogBase(parent, "ImportForm", QStringLiteral("匯入字幕"), QSize(350, 306),
                  TDialogFrame::Fixed, TFormSlot::Import),
      host_(host) {
    // 1. The source.
    GroupBox1 = Place(new QGroupBox(QStringLiteral("1. 資料來源"), this), "GroupBox1",
                      QRect(6, 4, 338, 70));
    BuildSourceGroup(GroupBox1, rbtnOpposite, rbtnSubFile, etSubFile, sbtnFile, "sbtnFile");
    for (QRadioButton* source : {rbtnOpposite, rbtnSubFile})
        connect(source, &QRadioButton::clicked, this, &TImportForm::Refresh);
    connect(sbtnFile, &QToolButton::clicked, this, &TImportForm::sbtnFileClick);

    // 2. What is imported.
    GroupBox5 = Place(new QGroupBox(QStringLiteral("2. 匯入項目"), this), "GroupBox5",
                      QRect(6, 78, 338, 44));
    cbTimeStamp = Place(new QCheckBox(QStringLiteral("時間值"), GroupBox5), "cbTimeStamp",
                        QRect(10, 20, 100, 17));
    cbTitle =
        Place(new QCheckBox(QStringLiteral("文字"), GroupBox5), "cbTitle", QRect(120, 20, 100, 17));
    cbTimeStamp->setChecked(true);
    cbTitle->setChecked(true);

    // 3. The range of the source.
    GroupBox2 = Place(new QGroupBox(QStringLiteral("3. 來源範圍"), this), "GroupBox2",
                      QRect(6, 126, 338, 72));
    BuildRangeGroup(GroupBox2, Range());
    for (QRadioButton* r : {rbtnSelectAll, rbtnSelectRange})
        connect(r, &QRadioButton::toggled, this, &TImportForm::UpdateEnabled);

    // 4. The range of the target.
    GroupBox3 = Place(new QGroupBox(QStringLiteral("4. 匯入範圍"), this), "GroupBox3",
                      QRect(6, 202, 338, 66));
    upImStartNo =
        NumberBox(GroupBox3, leImStartNoLabel, "leImStartNoLabel", QStringLiteral("開始編號"),
                  QPoint(10, 22), "upImStartNo", "leImStartNo", QRect(64, 18, 90, 21), leImStartNo);
    upImEndNo =
        NumberBox(GroupBox3, leImEndNoLabel, "leImEndNoLabel", QStringLiteral("結束編號"),
                  QPoint(172, 22), "upImEndNo", "leImEndNo", QRect(226, 18, 90, 21), leImEndNo);
    lbImNote = Place(new QLabel(QStringLiteral("(此範圍內的字幕,會被匯入的項目所取代)"), GroupBox3),
                     "lbImNote", QPoint(10, 44));

    bbtnOk = Place(NewOkButton(), "bbtnOk", QRect(186, 274, 75, 25));
    SetHint(bbtnOk, QStringLiteral("匯入字幕|匯入選擇之字幕"));
    connect(bbtnOk, &QPushButton::clicked, this, &TImportForm::bbtnOkClick);
    bbtnCancel = Place(NewCancelButton(), "bbtnCancel", QRect(269, 274, 75, 25));
    SetHint(bbtnCancel, QStringLiteral("取消|取消匯入字幕"));

    UpdateEnabled();
    ApplyLanguage();
}

TRangeGroup TImportForm::Range() {
    return {rbtnSelectAll, rbtnSelectRange, leStartNoLabel, upStartNo,
            leStartNo,     leEndNoLabel,    upEndNo,        leEndNo};
}

void TImportForm::SetTarget(int side, const SubTitle* target, const SubTitle* opposite) {
    Side = side;
    Document = target;
    rbtnOpposite->setText(TextOf(txRightSide - side));
    const int count = target ? target->Count() : 0;
    SetNumberRange(upImStartNo, count, 1);
    SetNumberRange(upImEndNo, count, std::max(count, 1));
    Opposite = opposite;
    rbtnOpposite->setEnabled(opposite != nullptr);
    (opposite ? rbtnOpposite : rbtnSubFile)->setChecked(true);
    Refresh();
}

void TImportForm::Refresh() {
    const bool opposite = rbtnOpposite->isChecked();
    const TImportKind kind = opposite ? TImportKind::Subtitle : KindOf(etSubFile->text().trimmed());
    if (kind == TImportKind::Subtitle) {
        const int n = opposite ? (Opposite ? Opposite->Count() : 0) : FileCount;
        SetNumberRange(upStartNo, n, 1);
        SetNumberRange(upEndNo, n, std::max(n, 1));
        cbTimeStamp->setChecked(true);
        cbTimeStamp->setEnabled(true);
        rbtnSelectRange->setEnabled(true);
    } else if (kind == TImportKind::Text) {
        // A text file carries no times and is always read from its start.
        cbTimeStamp->setChecked(false);
        cbTimeStamp->setEnabled(false);
        rbtnSelectRange->setEnabled(false);
        rbtnSelectAll->setChecked(true);
    }
    UpdateEnabled();
}

void TImportForm::UpdateEnabled() {
    EnableRangeNumbers(Range(), rbtnSelectRange->isChecked() && rbtnSelectRange->isEnabled());
}

void TImportForm::sbtnFileClick() {
    const QString path =
        ChooseFileToOpen(this, QString(), OpenFilter, QStringLiteral("srt"),
                         Document ? QString::fromStdString(Document->FileName()) : QString());
    if (path.isEmpty()) return;
    if (KindOf(path) == TImportKind::Subtitle) {
        const std::unique_ptr<SubTitle> file = ReadSourceFile(this, path, Reading);
        if (!file) return;
        FileCount = file->Count();
    }
    rbtnSubFile->setChecked(true);
    etSubFile->setText(path);
    Refresh();
}

void TImportForm::bbtnOkClick() {
    const SubTitle* source = nullptr;
    std::unique_ptr<SubTitle> file;
    std::optional<TextSource> text;
    if (rbtnOpposite->isChecked() && Opposite) {
        source = Opposite;
    } else {
        const QString path = etSubFile->text().trimmed();
        if (path.isEmpty()) {
            Questions().ShowError(this, TextOf(txNoCombineFile));
            return;
        }
        switch (KindOf(path)) {
        case TImportKind::Subtitle:
            file = ReadSourceFile(this, path, Reading);
            if (!file) return;
            source = file.get();
            break;
        case TImportKind::Text:
            if (!SourceFileReadable(this, path)) return;
            // Detected per file as subtitle files are, the language's page winning a tie.
            text = TextSource::FromFile(path.toStdString(), LegacyPage(Reading.LegacyPage));
            break;
        case TImportKind::Other:
            Questions().ShowError(this, TextOf(txUnknownFormat));
            return;
        }
    }
    if (!Document || !host_) {
        accept();
        return;
    }
    const int targetFirst = upImStartNo->value() - 1;
    const int targetLast = upImEndNo->value() - 1;
    TChange change;
    try {
        if (text) {
            if (cbTitle->isChecked())
                change = PourTextChange(*Document, *text, targetFirst, targetLast);
        } else {
            const bool all = rbtnSelectAll->isChecked();
            const int first = all ? 0 : upStartNo->value() - 1;
            const int last = all ? source->Count() - 1 : upEndNo->value() - 1;
            change = ImportChange(*Document, *source, first, last, targetFirst, targetLast,
                                  cbTimeStamp->isChecked(), cbTitle->isChecked());
        }
        host_->ApplyChange(Side, TextOf(txStepImport), std::move(change));
    } catch (const TextConversionError& error) {
        ShowConversionError(this, error);
        return;
    } catch (const SubtitleError& error) {
        Questions().ShowError(this, QString::fromUtf8(error.what()));
        return;
    }
    accept();
}

#include "ChineseForm.h"

#include "CodePage.h"
#include "EditorHost.h"
#include "Questions.h"
#include "Subtitle.h"
#include "Texts.h"

#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QProgressDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>

namespace {

int DirectionText(TChineseDirection direction) {
    return txChineseS2twp + static_cast<int>(direction);
}

// Work on this many entries or more shows its progress.
constexpr int kProgressFrom = 100000;

} // namespace

TChineseForm::TChineseForm(TEditorHost* host, QWidget* parent)
    : TDialogBase(parent, "ChineseForm", TextOf(txChineseTitle), QSize(480, 380)),
      host_(host) {
    lbDirection = Place(new QLabel(TextOf(txChineseDirection), this), "lbDirection", QPoint(10, 13));
    cbDirection = Place(new QComboBox(this), "cbDirection", QRect(90, 8, 250, 24));
    QStringList missing;
    const std::vector<TChineseDirection> installed = AvailableChineseDirections();
    for (std::size_t k = 0; k < ChineseDirectionNames().size(); ++k) {
        const auto direction = static_cast<TChineseDirection>(k);
        if (std::find(installed.begin(), installed.end(), direction) == installed.end())
            missing << QString::fromLatin1(ChineseDirectionName(direction).data(),
                                           static_cast<qsizetype>(ChineseDirectionName(direction).size()));
        else
            cbDirection->addItem(TextOf(DirectionText(direction)), static_cast<int>(k));
    }
    lbMissing = Place(new QLabel(this), "lbMissing", QRect(10, 36, 460, 18));
    lbMissing->setText(missing.isEmpty() ? QString()
                                         : TextOf(txChineseMissing).arg(missing.join(QStringLiteral(", "))));
    lbMissing->setStyleSheet(QStringLiteral("color: #c00000"));

    gbStretch = Place(new QGroupBox(TextOf(txChineseStretch), this), "gbStretch",
                      QRect(350, 2, 120, 52));
    rbSelected = Place(new QRadioButton(TextOf(txChineseSelected), gbStretch), "rbSelected",
                       QRect(8, 14, 108, 18));
    rbAll = Place(new QRadioButton(TextOf(txChineseAll), gbStretch), "rbAll", QRect(8, 32, 108, 18));
    rbAll->setChecked(true);

    lbPreview = Place(new QLabel(TextOf(txChinesePreview).arg(kPreviewRows), this), "lbPreview",
                      QRect(10, 58, 460, 18));
    lvPreview = Place(new QTreeWidget(this), "lvPreview", QRect(10, 78, 460, 256));
    lvPreview->setRootIsDecorated(false);
    lvPreview->setHeaderLabels(
        {TextOf(txChineseNumber), TextOf(txChineseBefore), TextOf(txChineseAfter)});
    lvPreview->header()->resizeSection(0, 60);
    lvPreview->header()->resizeSection(1, 195);

    bbtnOk = Place(NewOkButton(), "bbtnOk", QRect(314, 344, 75, 25));
    bbtnCancel = Place(NewCancelButton(), "bbtnCancel", QRect(395, 344, 75, 25));
    bbtnOk->setEnabled(cbDirection->count() > 0);
    connect(bbtnOk, &QPushButton::clicked, this, [this] {
        if (bbtnOkClick()) accept();
    });
    connect(cbDirection, &QComboBox::currentIndexChanged, this, [this] {
        converter_.reset();
        UpdatePreview();
    });
    connect(rbAll, &QRadioButton::toggled, this, &TChineseForm::UpdatePreview);
    ApplyLanguage();
}

TChineseForm::~TChineseForm() = default;

void TChineseForm::SetTarget(int side, int topRow, int bottomRow) {
    Side = side;
    top_ = topRow;
    bottom_ = bottomRow;
    (bottomRow > topRow ? rbSelected : rbAll)->setChecked(true);
    UpdatePreview();
}

std::optional<TChineseDirection> TChineseForm::Direction() const {
    if (cbDirection->currentIndex() < 0) return std::nullopt;
    return static_cast<TChineseDirection>(cbDirection->currentData().toInt());
}

const TChineseConverter* TChineseForm::Converter() {
    const std::optional<TChineseDirection> direction = Direction();
    if (!direction) return nullptr;
    if (!converter_ || converter_->Direction() != *direction) {
        try {
            converter_ = std::make_unique<TChineseConverter>(*direction);
        } catch (const SubtitleError& e) {
            converter_.reset();
            lbMissing->setText(QString::fromStdString(e.what()));
        }
    }
    return converter_.get();
}

void TChineseForm::Stretch(int& first, int& last) const {
    const SubTitle* doc = host_ ? host_->Document(Side) : nullptr;
    const int count = doc ? doc->Count() : 0;
    if (rbAll->isChecked()) {
        first = 0;
        last = count - 1;
    } else {
        first = std::max(top_ - 1, 0);
        last = std::min(bottom_ - 1, count - 1);
    }
}

void TChineseForm::UpdatePreview() {
    lvPreview->clear();
    const SubTitle* doc = host_ ? host_->Document(Side) : nullptr;
    const TChineseConverter* converter = Converter();
    if (!doc || !converter) return;
    int first = 0, last = -1;
    Stretch(first, last);
    std::vector<TChinesePreviewRow> rows;
    try {
        rows = ChinesePreview(*doc, *converter, first, last, kPreviewRows);
    } catch (const SubtitleError& e) {
        lbMissing->setText(QString::fromStdString(e.what()));
    }
    QList<QTreeWidgetItem*> items;
    for (const TChinesePreviewRow& row : rows)
        items << new QTreeWidgetItem({QString::number(row.Index + 1),
                                      QString::fromStdString(row.Before),
                                      QString::fromStdString(row.After)});
    if (items.isEmpty()) items << new QTreeWidgetItem({QString(), TextOf(txChineseNoChange)});
    lvPreview->addTopLevelItems(items);
}

bool TChineseForm::bbtnOkClick() {
    try {
        return Convert();
    } catch (const SubtitleError& e) {
        Questions().ShowError(this, QString::fromStdString(e.what()));
        return false;
    }
}

bool TChineseForm::Convert() {
    const SubTitle* doc = host_ ? host_->Document(Side) : nullptr;
    const TChineseConverter* converter = Converter();
    if (!doc) return true;
    if (!converter) return false;
    int first = 0, last = -1;
    Stretch(first, last);

    // A large stretch shows its progress and may be stopped, changing nothing.
    std::unique_ptr<QProgressDialog> progress;
    TChineseProgress step;
    if (last - first + 1 >= kProgressFrom) {
        progress = std::make_unique<QProgressDialog>(TextOf(txChineseProgress), TextOf(txCancel), 0,
                                                     1000, this);
        progress->setObjectName(QStringLiteral("pgChinese"));
        progress->setWindowModality(Qt::WindowModal);
        progress->setMinimumDuration(300);
        step = [&progress](int done, int total) {
            progress->setValue(static_cast<int>(int64_t{done} * 1000 / std::max(total, 1)));
            return !progress->wasCanceled();
        };
    }
    TChineseResult result = ChineseChange(*doc, *converter, first, last, std::nullopt, step);
    if (result.Unfit > 0) {
        const std::vector<int> pages = ChineseRecodePages(converter->Direction());
        QStringList names;
        for (int page : pages)
            names << QString::fromLatin1(CodePageName(page));
        const std::optional<int> chosen = Questions().ChooseItem(
            this, windowTitle(),
            TextOf(txChineseUnfit)
                .arg(result.Unfit)
                .arg(QString::fromLatin1(CodePageName(doc->CodePage())))
                    .arg(result.FirstUnfit + 1) +
                QLatin1Char('\n') + TextOf(txChineseRecodeTo),
            names, 0);
        if (!chosen || *chosen < 0 || *chosen >= static_cast<int>(pages.size())) return false;
        const int page = pages[static_cast<std::size_t>(*chosen)];
        result = ChineseChange(*doc, *converter, first, last, page, step);
        if (result.Unfit > 0) {
            // Even the page chosen cannot hold it (GBK or Big5 lack a character): said, and the
            // user may choose again.
            Questions().ShowError(this, TextOf(txChineseUnfit)
                                            .arg(result.Unfit)
                                            .arg(QString::fromLatin1(CodePageName(page)))
                                            .arg(result.FirstUnfit + 1));
            return false;
        }
    }
    if (progress && progress->wasCanceled()) return false;
    if (!result.Change.Empty()) host_->ApplyChange(Side, TextOf(txStepChinese), std::move(result.Change));
    return true;
}

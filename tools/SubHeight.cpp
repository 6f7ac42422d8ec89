#include "SubHeight.h"

#include "UpDown.h"

#include <QButtonGroup>
#include <QEvent>
#include <QFocusEvent>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QStyle>
#include <QStyleOptionButton>

#include <cstdlib>

namespace {

constexpr int kItemLeft = 12;
constexpr int kItemTop = 20;
constexpr int kItemStep = 24;
constexpr int kFieldWidth = 44;
constexpr int kSpinnerWidth = 16;
constexpr int kFieldHeight = 21;

} // namespace

TSubHeightDlg::TSubHeightDlg(QWidget* parent)
    : TDialogBase(parent, "SubHeightDlg", QStringLiteral("設定字幕高度"), QSize(250, 174)) {
    rgSubHeight = Place(new QGroupBox(QStringLiteral("字幕高度"), this), "rgSubHeight",
                        QRect(8, 6, 234, 126));
    ItemGroup = new QButtonGroup(this);
    ItemGroup->setObjectName(QStringLiteral("rgSubHeightItems"));
    const char* const captions[4] = {"一行字幕", "二行字幕", "三行字幕",
                                     "自定高度                   點(Pixel) "};
    for (int i = 0; i < 4; ++i) {
        Items[i] = Place(new QRadioButton(QString::fromUtf8(captions[i]), rgSubHeight),
                         QStringLiteral("rgSubHeightItem%1").arg(i).toLatin1().constData(),
                         QRect(kItemLeft, kItemTop + i * kItemStep, 214, 20));
        ItemGroup->addButton(Items[i], i);
    }
    connect(ItemGroup, &QButtonGroup::idClicked, this, [this] { rgSubHeightClick(); });

    edSubHeight = new QLineEdit(QStringLiteral("1"), rgSubHeight);
    edSubHeight->setObjectName(QStringLiteral("edSubHeight"));
    // Pixels are whole and not negative; anything else typed would be thrown away at OK.
    edSubHeight->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("\\d{0,4}")), edSubHeight));
    edSubHeight->installEventFilter(this);
    UpDown1 = new TUpDown(rgSubHeight);
    UpDown1->setObjectName(QStringLiteral("UpDown1"));
    UpDown1->setHoldsPosition(true);
    UpDown1->setRange(1, 500);
    UpDown1->setIncrement(5);
    UpDown1->setWrap(false);
    UpDown1->setAssociate(edSubHeight);
    // The arrows step from the number shown, typed or not, and mean the custom height.
    connect(UpDown1, &TUpDown::clicked, this, [this] {
        bool ok = false;
        const int shown = edSubHeight->text().toInt(&ok);
        if (ok) UpDown1->setPosition(shown);
        edSubHeightClick();
    });
    PlaceNumberField();
    SetItemIndex(2);

    bbtnOK = Place(NewOkButton(), "bbtnOK", QRect(86, 142, 75, 25));
    bbtnOK->setDefault(true);
    connect(bbtnOK, &QPushButton::clicked, this, &TSubHeightDlg::bbtnOKClick);
    bbtnCancel = Place(NewCancelButton(), "bbtnCancel", QRect(167, 142, 75, 25));
    ApplyLanguage();
}

int TSubHeightDlg::ItemIndex() const {
    return ItemGroup->checkedId();
}

void TSubHeightDlg::SetItemIndex(int index) {
    if (index >= 0 && index < 4) Items[index]->setChecked(true);
}

void TSubHeightDlg::SetTarget(int heightValue, int lineHeight) {
    HeightValue = heightValue;
    LineHeight = lineHeight;
    FormShow();
}

void TSubHeightDlg::FormShow() {
    if (HeightValue < 0) {
        // -4 and below are no line item: the custom item, the field as it was.
        SetItemIndex(HeightValue < -3 ? 3 : -HeightValue - 1);
    } else {
        SetItemIndex(3);
        edSubHeight->setText(QString::number(HeightValue));
    }
    rgSubHeightClick();
}

void TSubHeightDlg::rgSubHeightClick() {
    const int index = ItemIndex();
    if (index < 0 || index > 2) return;
    const long long pixels = (index + 1) * static_cast<long long>(LineHeight);
    UpDown1->setPosition(int(pixels)); // where the arrows go on from
    edSubHeight->setText(QString::number(pixels));
}

void TSubHeightDlg::edSubHeightClick() {
    SetItemIndex(3);
}

void TSubHeightDlg::bbtnOKClick() {
    const int index = ItemIndex();
    if (index >= 0 && index <= 2) {
        HeightValue = -(index + 1);
    } else {
        bool ok = false;
        const int pixels = edSubHeight->text().trimmed().toInt(&ok);
        HeightValue = ok ? pixels : -3;
    }
    accept();
}

void TSubHeightDlg::ApplyLanguage() {
    TDialogBase::ApplyLanguage();
    PlaceNumberField();
}

bool TSubHeightDlg::eventFilter(QObject* watched, QEvent* event) {
    if (watched != edSubHeight) return TDialogBase::eventFilter(watched, event);
    // A click, or the keyboard moving into the field; not the focus the window hands it on
    // opening.
    if (event->type() == QEvent::MouseButtonPress) edSubHeightClick();
    if (event->type() == QEvent::FocusIn) {
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason ||
            reason == Qt::ShortcutFocusReason)
            edSubHeightClick();
    }
    return TDialogBase::eventFilter(watched, event);
}

void TSubHeightDlg::PlaceNumberField() {
    // After the indicator and the caption's first word; a caption without the gap gets the
    // field after its end.
    QRadioButton* custom = Items[3];
    QStyleOptionButton option;
    option.initFrom(custom);
    const int indicator =
        custom->style()->pixelMetric(QStyle::PM_ExclusiveIndicatorWidth, &option, custom) +
        custom->style()->pixelMetric(QStyle::PM_RadioButtonLabelSpacing, &option, custom);
    const QString caption = custom->text();
    const qsizetype gap = caption.indexOf(QStringLiteral("  "));
    const QFontMetrics metrics = custom->fontMetrics();
    const QString before = gap < 0 ? caption : caption.left(gap);
    const int x = custom->x() + indicator + metrics.horizontalAdvance(before + QLatin1Char(' '));
    const int y = custom->y() + (custom->height() - kFieldHeight) / 2;
    edSubHeight->setGeometry(x, y, kFieldWidth, kFieldHeight);
    UpDown1->setGeometry(x + kFieldWidth, y, kSpinnerWidth, kFieldHeight);
    edSubHeight->raise();
    UpDown1->raise();
}

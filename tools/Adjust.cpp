#include "Adjust.h"

#include "Kellabel.h"
#include "UpDown.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QStyle>
#include <QVBoxLayout>

#include <algorithm>

namespace {

constexpr int kMaxSize = 10000;

struct TGroupNames {
    const char* Caption;
    const char* Box;
    const char* Width;
    const char* WidthSpin;
    const char* Height;
    const char* HeightSpin;
    const char* Default;
};

// In FormSizes order. The segment width's field keeps the name it has always had.
const TGroupNames kNames[TAdjustForm::kGroups] = {
    {"主視窗", "gbMain", "leMainWidth", "upMainWidth", "leMainHeight", "upMainHeight", "bbtnMain"},
    {"編輯視窗", "gbEditor", "leEditWidth", "upEditWidth", "leEditHeight", "upEditHeight",
     "bbtnEditor"},
    {"區段調整視窗", "gbSegment", "leSegWIdth", "upSegWidth", "leSegHeight", "upSegHeight",
     "bbtnSegment"},
    {"合併視窗", "gbCombine", "leCombineWidth", "upCombineWidth", "leCombineHeight",
     "upCombineHeight", "bbtnCombine"},
    {"匯入視窗", "gbImport", "leImportWidth", "upImportWidth", "leImportHeight", "upImportHeight",
     "bbtnImport"},
    {"另存新檔視窗", "gbSaveAs", "leSaveAsWidth", "upSaveAsWidth", "leSaveAsHeight",
     "upSaveAsHeight", "bbtnSaveAs"},
};

template <class T> T* Named(T* control, const char* name) {
    control->setObjectName(QString::fromLatin1(name));
    return control;
}

// A number field bound to its spinner: the arrows step from the number shown, typed or not.
QLineEdit* SizeField(const char* name, TUpDown*& spin, const char* spinName, int min,
                     QWidget* parent) {
    auto* field = Named(new QLineEdit(parent), name);
    field->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("\\d{0,5}")), field));
    field->setFixedWidth(48);
    spin = Named(new TUpDown(parent), spinName);
    spin->setHoldsPosition(true);
    spin->setRange(min, kMaxSize);
    spin->setWrap(false);
    spin->setAssociate(field);
    spin->setFixedSize(16, field->sizeHint().height());
    QObject::connect(spin, &TUpDown::clicked, spin, [field, spin] {
        bool ok = false;
        const int shown = field->text().toInt(&ok);
        if (ok) spin->setPosition(shown);
    });
    return field;
}

// The field's number within its spinner's range; the spinner's own position when the field
// holds no number.
int FieldValue(const QLineEdit* field, const TUpDown* spin) {
    bool ok = false;
    const int n = field->text().trimmed().toInt(&ok);
    return ok ? std::clamp(n, spin->Min(), spin->Max()) : spin->Position();
}

} // namespace

TAdjustForm::TAdjustForm(QWidget* mainWindow, std::array<int, 12>* formSizes, QWidget* parent)
    : TDialogBase(parent, "AdjustForm", QStringLiteral("視窗調整"), QSize(540, 262),
                  TDialogFrame::Resizable),
      mainWindow_(mainWindow), formSizes_(formSizes) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);
    layout->setSpacing(6);

    auto* noteFrame = Named(new QFrame(this), "plNote");
    noteFrame->setFrameStyle(QFrame::Box | QFrame::Sunken);
    auto* noteLayout = new QHBoxLayout(noteFrame);
    noteLayout->setContentsMargins(6, 3, 6, 3);
    lbNote = Named(new TKelLabel(QStringLiteral("以下所有欄位皆以像素(Pixel)為單位"), noteFrame),
                   "lbNote");
    lbNote->setFontColor(QColor(0x00, 0x00, 0xFF));
    lbNote->setShadowColor(QColor(0x80, 0x80, 0x80));
    noteLayout->addWidget(lbNote);
    noteLayout->addStretch(1);
    layout->addWidget(noteFrame);

    auto* grid = new QGridLayout;
    grid->setSpacing(6);
    for (int g = 0; g < kGroups; ++g) {
        const TGroupNames& n = kNames[g];
        TGroup& group = Groups[size_t(g)];
        group.Box = Named(new QGroupBox(QString::fromUtf8(n.Caption), this), n.Box);
        auto* row = new QHBoxLayout(group.Box);
        row->setContentsMargins(8, 4, 8, 6);
        row->setSpacing(0);
        group.WidthLabel = Named(new QLabel(QStringLiteral("寬"), group.Box),
                                 (QByteArray(n.Width) + "Label").constData());
        group.Width = SizeField(n.Width, group.WidthSpin, n.WidthSpin, 1, group.Box);
        group.WidthLabel->setBuddy(group.Width);
        group.HeightLabel = Named(new QLabel(QStringLiteral("高"), group.Box),
                                  (QByteArray(n.Height) + "Label").constData());
        group.Height = SizeField(n.Height, group.HeightSpin, n.HeightSpin, 0, group.Box);
        group.HeightLabel->setBuddy(group.Height);
        group.Default = Named(new QPushButton(QStringLiteral("預設值"), group.Box), n.Default);
        connect(group.Default, &QPushButton::clicked, this, [this, g] { bbtnDefaultClick(g); });
        row->addWidget(group.WidthLabel);
        row->addSpacing(3);
        row->addWidget(group.Width);
        row->addWidget(group.WidthSpin);
        row->addSpacing(10);
        row->addWidget(group.HeightLabel);
        row->addSpacing(3);
        row->addWidget(group.Height);
        row->addWidget(group.HeightSpin);
        row->addStretch(1);
        row->addSpacing(8);
        row->addWidget(group.Default);
        grid->addWidget(group.Box, g / 2, g % 2);
    }
    layout->addLayout(grid);
    layout->addStretch(1);

    gbMain = Groups[0].Box, gbEditor = Groups[1].Box, gbSegment = Groups[2].Box;
    gbCombine = Groups[3].Box, gbImport = Groups[4].Box, gbSaveAs = Groups[5].Box;
    leMainWidth = Groups[0].Width, leMainHeight = Groups[0].Height;
    leEditWidth = Groups[1].Width, leEditHeight = Groups[1].Height;
    leSegWIdth = Groups[2].Width, leSegHeight = Groups[2].Height;
    leCombineWidth = Groups[3].Width, leCombineHeight = Groups[3].Height;
    leImportWidth = Groups[4].Width, leImportHeight = Groups[4].Height;
    leSaveAsWidth = Groups[5].Width, leSaveAsHeight = Groups[5].Height;
    upMainWidth = Groups[0].WidthSpin, upMainHeight = Groups[0].HeightSpin;
    upEditWidth = Groups[1].WidthSpin, upEditHeight = Groups[1].HeightSpin;
    upSegWidth = Groups[2].WidthSpin, upSegHeight = Groups[2].HeightSpin;
    upCombineWidth = Groups[3].WidthSpin, upCombineHeight = Groups[3].HeightSpin;
    upImportWidth = Groups[4].WidthSpin, upImportHeight = Groups[4].HeightSpin;
    upSaveAsWidth = Groups[5].WidthSpin, upSaveAsHeight = Groups[5].HeightSpin;
    bbtnMain = Groups[0].Default, bbtnEditor = Groups[1].Default, bbtnSegment = Groups[2].Default;
    bbtnCombine = Groups[3].Default, bbtnImport = Groups[4].Default, bbtnSaveAs = Groups[5].Default;

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    bbtnOk = Named(NewOkButton(), "bbtnOk");
    bbtnOk->setDefault(true);
    bbtnOk->setMinimumWidth(75);
    connect(bbtnOk, &QPushButton::clicked, this, &TAdjustForm::bbtnOkClick);
    bbtnCancel = Named(NewCancelButton(), "bbtnCancel");
    bbtnCancel->setMinimumWidth(75);
    buttons->addWidget(bbtnOk);
    buttons->addWidget(bbtnCancel);
    layout->addLayout(buttons);

    for (int g = 0; g < kGroups; ++g)
        ShowSize(g, QSize(kFormSizeDefaults[size_t(2 * g)], kFormSizeDefaults[size_t(2 * g + 1)]));
    ApplyLanguage();
}

QWidget* TAdjustForm::WindowOf(int group) const {
    if (group == 0) return mainWindow_;
    for (TDialogBase* dialog : TDialogBase::Dialogs())
        if (static_cast<int>(dialog->FormSlot()) == group) return dialog;
    return nullptr;
}

void TAdjustForm::ShowSize(int group, QSize size) {
    TGroup& g = Groups[size_t(group)];
    // The spinner first: it writes its clamped position into the field, which then shows the
    // size exactly, even one beyond the spinner's range.
    g.WidthSpin->setPosition(size.width());
    g.HeightSpin->setPosition(size.height());
    g.Width->setText(QString::number(size.width()));
    g.Height->setText(QString::number(size.height()));
}

void TAdjustForm::FormShow() {
    for (int g = 0; g < kGroups; ++g) {
        if (const QWidget* window = WindowOf(g))
            ShowSize(g, window->size());
        else if (formSizes_)
            ShowSize(g, QSize((*formSizes_)[size_t(2 * g)], (*formSizes_)[size_t(2 * g + 1)]));
    }
}

void TAdjustForm::bbtnDefaultClick(int group) {
    if (group < 0 || group >= kGroups) return;
    ShowSize(group,
             QSize(kFormSizeDefaults[size_t(2 * group)], kFormSizeDefaults[size_t(2 * group + 1)]));
}

QSize TAdjustForm::GroupSize(int group) const {
    const TGroup& g = Groups[size_t(group)];
    return QSize(FieldValue(g.Width, g.WidthSpin), FieldValue(g.Height, g.HeightSpin));
}

void TAdjustForm::bbtnOkClick() {
    for (int g = 0; g < kGroups; ++g) {
        const QSize size = GroupSize(g);
        if (formSizes_) {
            (*formSizes_)[size_t(2 * g)] = size.width();
            (*formSizes_)[size_t(2 * g + 1)] = size.height();
        }
        QWidget* window = WindowOf(g);
        if (!window) continue;
        if (auto* dialog = qobject_cast<TDialogBase*>(window))
            dialog->ApplyFormSize(size.width(), size.height());
        else
            window->resize(size);
    }
    accept();
}

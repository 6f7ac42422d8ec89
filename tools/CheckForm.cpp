#include "CheckForm.h"

#include "EditorHost.h"
#include "Subtitle.h"
#include "Texts.h"

#include <QDoubleSpinBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QPushButton>
#include <QSettings>
#include <QSpinBox>
#include <QTableView>
#include <QVBoxLayout>

#include <set>
#include <type_traits>

namespace {

int KindText(TCheckKind kind) {
    return txCheckStartAfterEnd + static_cast<int>(kind);
}

template <class T> T* Named(T* control, const char* objectName) {
    control->setObjectName(QString::fromLatin1(objectName));
    return control;
}

QSettings Settings() {
    return QSettings(QStringLiteral("Kestrow Group."), QStringLiteral("Velitra"));
}

} // namespace

void TCheckModel::SetProblems(std::vector<TCheckProblem> problems) {
    beginResetModel();
    problems_ = std::move(problems);
    endResetModel();
}

int TCheckModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(problems_.size());
}

int TCheckModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant TCheckModel::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole || !index.isValid() || index.row() >= rowCount()) return {};
    const TCheckProblem& p = problems_[static_cast<std::size_t>(index.row())];
    const int whatText = txCheckWhyStartAfterEnd + static_cast<int>(p.Kind);
    switch (index.column()) {
    case ColumnNumber:
        return p.Index + 1;
    case ColumnKind:
        return TextOf(KindText(p.Kind));
    case ColumnWhat:
        return p.Limit > 0 ? TextOf(whatText).arg(p.Limit) : TextOf(whatText);
    case ColumnValue:
        switch (p.Kind) {
        case TCheckKind::ReadingSpeed:
            return TextOf(txCheckCps).arg(p.Value, 0, 'f', 1);
        case TCheckKind::LineTooLong:
            return TextOf(txCheckColumns).arg(p.Value);
        case TCheckKind::TooManyLines:
            return TextOf(txCheckLines).arg(p.Value);
        case TCheckKind::EmptyText:
            return QString();
        default:
            return TextOf(txCheckMs).arg(p.Value);
        }
    default:
        return {};
    }
}

QVariant TCheckModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 ||
        section >= ColumnCount)
        return {};
    return TextOf(txCheckNumber + section);
}

TCheckForm::TCheckForm(TEditorHost* host, QWidget* parent)
    : TDialogBase(parent, "CheckForm", TextOf(txCheckTitle), QSize(600, 460),
                  TDialogFrame::Resizable),
      host_(host) {
    gbLimits = Named(new QGroupBox(TextOf(txCheckLimits), this), "gbLimits");
    auto* grid = new QGridLayout(gbLimits);
    auto spin = [&](QLabel*& label, const char* labelName, int text, QSpinBox*& box,
                    const char* boxName, int lowest, int highest, int row, int column) {
        label = Named(new QLabel(TextOf(text), gbLimits), labelName);
        box = Named(new QSpinBox(gbLimits), boxName);
        box->setRange(lowest, highest);
        // A number typed is taken at Enter or on leaving the box: each check of a long document
        // takes a moment.
        box->setKeyboardTracking(false);
        label->setBuddy(box);
        grid->addWidget(label, row, column * 2);
        grid->addWidget(box, row, column * 2 + 1);
        connect(box, &QSpinBox::valueChanged, this, &TCheckForm::LimitsEdited);
    };
    auto speed = [&](QLabel*& label, const char* labelName, int text, QDoubleSpinBox*& box,
                     const char* boxName, int row, int column) {
        label = Named(new QLabel(TextOf(text), gbLimits), labelName);
        box = Named(new QDoubleSpinBox(gbLimits), boxName);
        box->setRange(1, 100);
        box->setDecimals(1);
        box->setKeyboardTracking(false);
        label->setBuddy(box);
        grid->addWidget(label, row, column * 2);
        grid->addWidget(box, row, column * 2 + 1);
        connect(box, &QDoubleSpinBox::valueChanged, this, &TCheckForm::LimitsEdited);
    };
    spin(lbMinDuration, "lbMinDuration", txCheckMinDuration, spMinDuration, "spMinDuration", 0,
         600000, 0, 0);
    spin(lbMaxDuration, "lbMaxDuration", txCheckMaxDuration, spMaxDuration, "spMaxDuration", 1,
         3600000, 0, 1);
    spin(lbMinGap, "lbMinGap", txCheckMinGap, spMinGap, "spMinGap", 0, 60000, 0, 2);
    speed(lbCjkSpeed, "lbCjkSpeed", txCheckCjkSpeed, spCjkSpeed, "spCjkSpeed", 1, 0);
    speed(lbOtherSpeed, "lbOtherSpeed", txCheckOtherSpeed, spOtherSpeed, "spOtherSpeed", 1, 1);
    spin(lbMaxColumns, "lbMaxColumns", txCheckMaxColumns, spMaxColumns, "spMaxColumns", 1, 1000,
         1, 2);
    spin(lbMaxLines, "lbMaxLines", txCheckMaxLines, spMaxLines, "spMaxLines", 1, 100, 2, 0);

    Model = new TCheckModel(this);
    // A table without a grid looks like a list and, unlike a tree, keeps nothing per row: a
    // million problems are listed in the time of one reset.
    lvProblems = Named(new QTableView(this), "lvProblems");
    lvProblems->setModel(Model);
    lvProblems->setShowGrid(false);
    lvProblems->setWordWrap(false);
    lvProblems->verticalHeader()->hide();
    lvProblems->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    lvProblems->verticalHeader()->setDefaultSectionSize(lvProblems->fontMetrics().height() + 4);
    lvProblems->horizontalHeader()->setStretchLastSection(true);
    lvProblems->horizontalHeader()->setHighlightSections(false);
    lvProblems->setSelectionMode(QAbstractItemView::ExtendedSelection);
    lvProblems->setSelectionBehavior(QAbstractItemView::SelectRows);
    lvProblems->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lvProblems->horizontalHeader()->resizeSection(TCheckModel::ColumnNumber, 70);
    lvProblems->horizontalHeader()->resizeSection(TCheckModel::ColumnKind, 90);
    lvProblems->horizontalHeader()->resizeSection(TCheckModel::ColumnWhat, 280);
    connect(lvProblems, &QTableView::doubleClicked, this, &TCheckForm::lvProblemsDoubleClick);

    lbCount = Named(new QLabel(this), "lbCount");
    btnExtend = Named(new QPushButton(TextOf(txCheckExtend), this), "btnExtend");
    btnShorten = Named(new QPushButton(TextOf(txCheckShorten), this), "btnShorten");
    btnRemoveEmpty = Named(new QPushButton(TextOf(txCheckRemoveEmpty), this), "btnRemoveEmpty");
    btnClose = Named(new QPushButton(TextOf(txCheckClose), this), "btnClose");
    connect(btnExtend, &QPushButton::clicked, this, &TCheckForm::btnExtendClick);
    connect(btnShorten, &QPushButton::clicked, this, &TCheckForm::btnShortenClick);
    connect(btnRemoveEmpty, &QPushButton::clicked, this, &TCheckForm::btnRemoveEmptyClick);
    connect(btnClose, &QPushButton::clicked, this, &QDialog::close);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(lbCount, 1);
    for (QPushButton* b : {btnExtend, btnShorten, btnRemoveEmpty, btnClose})
        buttons->addWidget(b);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(gbLimits);
    layout->addWidget(lvProblems, 1);
    layout->addLayout(buttons);

    SetLimits(StoredLimits());
    if (host_) {
        connect(host_, &TEditorHost::entriesChanged, this, [this](int side) {
            if (side == Side) Recheck();
        });
        connect(host_, &TEditorHost::documentReplaced, this, [this](int side) {
            if (side == Side) Recheck();
        });
    }
    ApplyLanguage();
}

TCheckLimits TCheckForm::StoredLimits() {
    const QSettings key = Settings();
    TCheckLimits l;
    auto read = [&key](const char* name, auto& field) {
        const QVariant v = key.value(QStringLiteral("Check/") + QLatin1String(name));
        bool ok = false;
        const double d = v.toDouble(&ok);
        if (ok && d > 0) field = static_cast<std::remove_reference_t<decltype(field)>>(d);
    };
    read("MinDuration", l.MinDuration);
    read("MaxDuration", l.MaxDuration);
    read("CjkSpeed", l.CjkSpeed);
    read("OtherSpeed", l.OtherSpeed);
    read("MaxColumns", l.MaxColumns);
    read("MaxLines", l.MaxLines);
    read("MinGap", l.MinGap);
    return l;
}

void TCheckForm::StoreLimits(const TCheckLimits& l) {
    QSettings key = Settings();
    key.setValue(QStringLiteral("Check/MinDuration"), l.MinDuration);
    key.setValue(QStringLiteral("Check/MaxDuration"), l.MaxDuration);
    key.setValue(QStringLiteral("Check/CjkSpeed"), l.CjkSpeed);
    key.setValue(QStringLiteral("Check/OtherSpeed"), l.OtherSpeed);
    key.setValue(QStringLiteral("Check/MaxColumns"), l.MaxColumns);
    key.setValue(QStringLiteral("Check/MaxLines"), l.MaxLines);
    key.setValue(QStringLiteral("Check/MinGap"), l.MinGap);
}

TCheckLimits TCheckForm::Limits() const {
    TCheckLimits l;
    l.MinDuration = spMinDuration->value();
    l.MaxDuration = spMaxDuration->value();
    l.CjkSpeed = spCjkSpeed->value();
    l.OtherSpeed = spOtherSpeed->value();
    l.MaxColumns = spMaxColumns->value();
    l.MaxLines = spMaxLines->value();
    l.MinGap = spMinGap->value();
    return l;
}

void TCheckForm::SetLimits(const TCheckLimits& l) {
    showing_ = true;
    spMinDuration->setValue(l.MinDuration);
    spMaxDuration->setValue(l.MaxDuration);
    spCjkSpeed->setValue(l.CjkSpeed);
    spOtherSpeed->setValue(l.OtherSpeed);
    spMaxColumns->setValue(l.MaxColumns);
    spMaxLines->setValue(l.MaxLines);
    spMinGap->setValue(l.MinGap);
    showing_ = false;
    LimitsEdited();
}

void TCheckForm::LimitsEdited() {
    if (showing_) return;
    StoreLimits(Limits());
    Recheck();
    emit limitsChanged(Limits());
}

void TCheckForm::SetTarget(int side) {
    Side = side;
    Recheck();
}

void TCheckForm::Recheck() {
    const SubTitle* doc = host_ ? host_->Document(Side) : nullptr;
    Model->SetProblems(doc ? CheckDocument(*doc, Limits()) : std::vector<TCheckProblem>());
    lbCount->setText(TextOf(txCheckCount).arg(Model->rowCount()));
}

std::vector<int> TCheckForm::ChosenEntries() const {
    std::set<int> chosen;
    const QModelIndexList rows = lvProblems->selectionModel()->selectedRows();
    const std::vector<TCheckProblem>& problems = Model->Problems();
    if (rows.isEmpty()) {
        for (const TCheckProblem& p : problems)
            chosen.insert(p.Index);
    } else {
        for (const QModelIndex& row : rows)
            chosen.insert(problems[static_cast<std::size_t>(row.row())].Index);
    }
    return {chosen.begin(), chosen.end()};
}

void TCheckForm::Fix(int stepText, TChange change) {
    if (host_ && !change.Empty()) host_->ApplyChange(Side, TextOf(stepText), std::move(change));
}

void TCheckForm::btnExtendClick() {
    const SubTitle* doc = host_ ? host_->Document(Side) : nullptr;
    if (doc) Fix(txCheckExtend, ExtendShortChange(*doc, ChosenEntries(), Limits()));
}

void TCheckForm::btnShortenClick() {
    const SubTitle* doc = host_ ? host_->Document(Side) : nullptr;
    if (doc) Fix(txCheckShorten, ShortenOverlapChange(*doc, ChosenEntries(), Limits()));
}

void TCheckForm::btnRemoveEmptyClick() {
    const SubTitle* doc = host_ ? host_->Document(Side) : nullptr;
    if (doc) Fix(txCheckRemoveEmpty, RemoveEmptyChange(*doc, ChosenEntries()));
}

void TCheckForm::lvProblemsDoubleClick(const QModelIndex& index) {
    if (!host_ || !index.isValid()) return;
    host_->SelectRow(Side, Model->Problems()[static_cast<std::size_t>(index.row())].Index);
}

#include "FontColorDialog.h"

#include "Questions.h"
#include "Texts.h"

#include <QFontDatabase>
#include <QFontDialog>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

// Qt's font dialog as a part of another dialog: Enter and Escape belong to the dialog around it,
// and it never closes on its own (a dialog inside a dialog would otherwise hide itself).
class TEmbeddedFontDialog : public QFontDialog {
public:
    TEmbeddedFontDialog(const QFont& font, QWidget* parent) : QFontDialog(font, parent) {
        setWindowFlags(Qt::Widget);
        setOptions(QFontDialog::NoButtons | QFontDialog::DontUseNativeDialog);
    }

    void done(int result) override {
        if (auto* outer = qobject_cast<QDialog*>(parentWidget())) outer->done(result);
    }

protected:
    void keyPressEvent(QKeyEvent* event) override {
        switch (event->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Escape:
            event->ignore(); // to the dialog around it
            return;
        default:
            QFontDialog::keyPressEvent(event);
        }
    }
};

QPixmap Swatch(const QColor& color) {
    QPixmap pixmap(32, 14);
    pixmap.fill(color);
    QPainter painter(&pixmap);
    painter.setPen(Qt::black);
    painter.drawRect(pixmap.rect().adjusted(0, 0, -1, -1));
    return pixmap;
}

} // namespace

QFont WithStyleName(QFont font) {
    if (!font.styleName().isEmpty()) return font;
    const QString family = font.family();
    const QString generic = QFontDatabase::styleString(font);
    QString best;
    for (const QString& style : QFontDatabase::styles(family)) {
        const QFont candidate = QFontDatabase::font(family, style, 12);
        if (candidate.weight() != font.weight() || candidate.italic() != font.italic()) continue;
        if (style == generic) return font; // the dialog finds it by itself
        // The plainest name of the matches: "Book" before "Condensed".
        if (best.isEmpty() || style.size() < best.size()) best = style;
    }
    if (!best.isEmpty()) font.setStyleName(best);
    return font;
}

TFontColorDialog::TFontColorDialog(const QFont& font, const QColor& color, QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("FontColorDlg"));
    setWindowTitle(TextOf(txFontColorTitle));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);

    fdFont = new TEmbeddedFontDialog(WithStyleName(font), this);
    fdFont->setObjectName(QStringLiteral("fdFont"));

    lbColor = new QLabel(TextOf(txColorLabel), this);
    lbColor->setObjectName(QStringLiteral("lbColor"));
    sbtnColor = new QPushButton(TextOf(txChooseColor), this);
    sbtnColor->setObjectName(QStringLiteral("sbtnColor"));
    sbtnColor->setAutoDefault(false);
    sbtnColor->setIconSize(QSize(32, 14));
    lbColor->setBuddy(sbtnColor);
    connect(sbtnColor, &QPushButton::clicked, this, &TFontColorDialog::sbtnColorClick);

    bbtnOK = new QPushButton(TextOf(txOk), this);
    bbtnOK->setObjectName(QStringLiteral("bbtnOK"));
    bbtnOK->setDefault(true);
    connect(bbtnOK, &QPushButton::clicked, this, &QDialog::accept);
    bbtnCancel = new QPushButton(TextOf(txCancel), this);
    bbtnCancel->setObjectName(QStringLiteral("bbtnCancel"));
    bbtnCancel->setAutoDefault(false);
    connect(bbtnCancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* row = new QHBoxLayout;
    row->addWidget(lbColor);
    row->addWidget(sbtnColor);
    row->addStretch(1);
    row->addWidget(bbtnOK);
    row->addWidget(bbtnCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(fdFont, 1);
    layout->addLayout(row);

    SetColor(color);
}

QFont TFontColorDialog::Font() const {
    return fdFont->currentFont();
}

void TFontColorDialog::SetColor(const QColor& color) {
    color_ = color;
    sbtnColor->setIcon(QIcon(Swatch(color)));
}

void TFontColorDialog::sbtnColorClick() {
    const std::optional<QColor> chosen = Questions().ChooseColor(this, color_);
    if (chosen && chosen->isValid()) SetColor(*chosen);
}

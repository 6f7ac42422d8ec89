#include "SetFrame.h"

#include "Questions.h"

#include <QComboBox>
#include <QFont>
#include <QFrame>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QStyle>

TSetFrameDlg::TSetFrameDlg(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("SetFrameDlg"));
    setWindowTitle(QStringLiteral("設定Frame數"));
    // A fixed dialog frame with a close box only: no help button, no minimise or maximise.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    setFont(QFont(QStringLiteral("新細明體"), 9));
    setFixedSize(209, 128);

    Bevel1 = new QFrame(this);
    Bevel1->setObjectName(QStringLiteral("Bevel1"));
    Bevel1->setFrameStyle(QFrame::Box | QFrame::Sunken);
    Bevel1->setGeometry(2, 4, 203, 85);

    Label1 = new QLabel(QStringLiteral("請輸入每秒Frame數"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    QFont labelFont(QStringLiteral("新細明體"));
    labelFont.setPixelSize(16);
    Label1->setFont(labelFont);
    Label1->move(30, 20);
    Label1->adjustSize();

    cbFrame = new QComboBox(this);
    cbFrame->setObjectName(QStringLiteral("cbFrame"));
    cbFrame->setEditable(true);
    // Typing a rate uses it; it does not grow the list.
    cbFrame->setInsertPolicy(QComboBox::NoInsert);
    cbFrame->addItems({QStringLiteral("23.976"), QStringLiteral("24.000"), QStringLiteral("25.000"),
                       QStringLiteral("29.970"), QStringLiteral("30.000")});
    cbFrame->setCurrentIndex(0);
    cbFrame->setMaxVisibleItems(5);
    cbFrame->setGeometry(30, 48, 145, cbFrame->sizeHint().height());

    bbtnOK = new QPushButton(style()->standardIcon(QStyle::SP_DialogOkButton),
                             QStringLiteral("確定"), this);
    bbtnOK->setObjectName(QStringLiteral("bbtnOK"));
    bbtnOK->setGeometry(27, 98, 75, 25);
    bbtnOK->setDefault(true);
    connect(bbtnOK, &QPushButton::clicked, this, &QDialog::accept);

    // Escape and the close box reject the dialog as this button does.
    bbtnCancel = new QPushButton(style()->standardIcon(QStyle::SP_DialogCancelButton),
                                 QStringLiteral("取消"), this);
    bbtnCancel->setObjectName(QStringLiteral("bbtnCancel"));
    bbtnCancel->setGeometry(107, 98, 75, 25);
    connect(bbtnCancel, &QPushButton::clicked, this, &QDialog::reject);

    setTabOrder(bbtnOK, cbFrame);
    setTabOrder(cbFrame, bbtnCancel);
    bbtnOK->setFocus();
}

QPoint CentredPosition(const QRect& window, const QSize& dialog) {
    return {window.left() + (window.width() - dialog.width()) / 2,
            window.top() + (window.height() - dialog.height()) / 2};
}

FrameRateQuestion MakeFrameRateQuestion(TSetFrameDlg* dialog, QWidget* centreOn) {
    return [dialog = QPointer<TSetFrameDlg>(dialog),
            centreOn = QPointer<QWidget>(centreOn)]() -> std::optional<std::string> {
        if (!dialog) return std::nullopt;
        if (centreOn)
            dialog->move(
                CentredPosition(centreOn->frameGeometry(), dialog->frameGeometry().size()));
        if (Questions().RunModal(dialog) != mrOk) return std::nullopt;
        return dialog->cbFrame->currentText().toStdString();
    };
}
